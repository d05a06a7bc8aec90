#include "model/NumberText.h"

#include <bit>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <limits>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <stdlib.h>

#include "model/DecimalDigits.h"
#include "model/QuickNumberText.h"

namespace uzuviv {

using namespace digits;

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

[[noreturn]] void ThrowNotDecimal(std::string_view text)
{
    std::string message;
    message.reserve(text.size() + 56);
    message.append("'").append(text).append("' n'est pas une valeur en virgule flottante correcte");
    throw ConversionError(message);
}

[[noreturn]] void ThrowNotInteger(std::string_view text)
{
    std::string message;
    message.reserve(text.size() + 48);
    message.append("'").append(text).append("' n'est pas une valeur enti\xC3\xA8re correcte");
    throw ConversionError(message);
}

// The user's locale may use "," as decimal separator (Qt applies it to the C library), so
// conversions go through a locale of their own.
locale_t NumericCLocale()
{
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

// Below 10^19 < 2^64 every significand is an exact long double too.
constexpr std::size_t MaxExactDigits = 19;

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The decimal conversion; `quick` lets numbers of up to 19 significant digits take one
// exact operation instead of strtold, with the same result.
Extended ScanDecimal(std::string_view text, bool quick)
{
    const std::size_t length = text.size();
    std::size_t i = 0;
    while (i < length && IsBlank(text[i]))
        ++i;
    const std::size_t start = i;
    bool negative = false;
    if (i < length && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // The digits as one integer, for the exact path below; leading zeros are not significant.
    std::uint64_t significand = 0;
    std::size_t significantDigits = 0;
    std::size_t fractionDigits = 0;
    const auto takeDigit = [&](char c) {
        if (significantDigits == 0 && c == '0')
            return;
        if (++significantDigits <= MaxExactDigits)
            significand = significand * 10 + static_cast<std::uint64_t>(c - '0');
    };
    std::size_t mantissaDigits = 0;
    while (i < length && IsDigit(text[i])) {
        takeDigit(text[i]);
        ++i;
        ++mantissaDigits;
    }
    bool point = false;
    if (i < length && text[i] == '.') {
        point = true;
        ++i;
        while (i < length && IsDigit(text[i])) {
            takeDigit(text[i]);
            ++i;
            ++mantissaDigits;
            ++fractionDigits;
        }
    }
    if (mantissaDigits == 0 && !point)
        ThrowNotDecimal(text);
    long exponent = 0;
    if (i < length && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < length && (text[i] == '+' || text[i] == '-')) {
            negativeExponent = text[i] == '-';
            ++i;
        }
        std::size_t exponentDigits = 0;
        while (i < length && IsDigit(text[i])) {
            // Saturates: any exponent this large leaves the exact path anyway.
            if (exponent < 1000000)
                exponent = exponent * 10 + (text[i] - '0');
            ++i;
            ++exponentDigits;
        }
        if (exponentDigits == 0)
            ThrowNotDecimal(text);
        if (negativeExponent)
            exponent = -exponent;
    }
    const std::size_t end = i;
    while (i < length && IsBlank(text[i]))
        ++i;
    if (i != length)
        ThrowNotDecimal(text);

    // A lone "." (with or without exponent) is zero; strtold would not take it.
    if (mantissaDigits == 0 || significantDigits == 0)
        return negative ? -0.0L : 0.0L;

    // Exact path: the significand and the power of ten are both exact long doubles, so one
    // multiplication or division is a single correct rounding, the same result strtold
    // gives (in every rounding mode, since the sign goes in before the operation).
    if (quick && significantDigits <= MaxExactDigits && fractionDigits <= 1000000) {
        const long scale = exponent - static_cast<long>(fractionDigits);
        if (scale >= -MaxExactPower && scale <= MaxExactPower) {
            const Extended signedSignificand = negative ? -static_cast<Extended>(significand)
                                                        : static_cast<Extended>(significand);
            return scale >= 0 ? signedSignificand * ExtendedPowersOfTen[static_cast<std::size_t>(scale)]
                              : signedSignificand / ExtendedPowersOfTen[static_cast<std::size_t>(-scale)];
        }
    }

    const std::string_view number = text.substr(start, end - start);
    char shortBuffer[64];
    std::string longBuffer;
    const char* terminated;
    if (number.size() < sizeof shortBuffer) {
        number.copy(shortBuffer, number.size());
        shortBuffer[number.size()] = '\0';
        terminated = shortBuffer;
    } else {
        longBuffer.assign(number);
        terminated = longBuffer.c_str();
    }
    const locale_t locale = NumericCLocale();
    if (locale == static_cast<locale_t>(nullptr))
        ThrowNotDecimal(text);
    char* stop = nullptr;
    errno = 0;
    const Extended value = strtold_l(terminated, &stop, locale);
    if (stop != terminated + number.size())
        ThrowNotDecimal(text);
    // Underflow (zero or a denormal) is accepted. Overflow is not a number we can hold, except
    // when it is only the rounding of the largest value to 18 significant digits, which is how
    // the fixed-decimal texts write it: those read back as the largest value.
    if (errno == ERANGE && std::isinf(value)) {
        const std::size_t exponentAt = number.find_first_of("eE");
        const long exponent = exponentAt == std::string_view::npos
                                  ? 0
                                  : std::strtol(std::string(number.substr(exponentAt + 1)).c_str(), nullptr, 10);
        const std::string tenth = std::string(number.substr(0, exponentAt)) + "e" + std::to_string(exponent - 1);
        const Extended reduced = strtold_l(tenth.c_str(), nullptr, locale);
        constexpr Extended largest = std::numeric_limits<Extended>::max();
        if (std::isinf(reduced) || std::fabs(reduced) > largest / 10 * (1 + 1e-17L))
            ThrowNotDecimal(text);
        return negative ? -largest : largest;
    }
    return value;
}

} // namespace

Extended ParseDecimal(std::string_view text)
{
    Extended value;
    if (QuickParseDecimal(text, value))
        return value;
    return ScanDecimal(text, true);
}

Extended ParseDecimalExactly(std::string_view text)
{
    return ScanDecimal(text, false);
}

std::int32_t ParseInteger(std::string_view text)
{
    // Up to nine decimal digits alone, as the files write them, cannot overflow.
    if (!text.empty() && text.size() <= 9) {
        std::int32_t value = 0;
        std::size_t i = 0;
        for (unsigned digit; i < text.size() && (digit = static_cast<unsigned char>(text[i]) - unsigned{'0'}) < 10; ++i)
            value = value * 10 + static_cast<std::int32_t>(digit);
        if (i == text.size())
            return value;
    }
    constexpr std::uint64_t limit = 2147483648u; // magnitude of the most negative int32
    const std::size_t length = text.size();
    std::size_t i = 0;
    while (i < length && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < length && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < length && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < length && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    std::uint64_t magnitude = 0;
    std::size_t digits = 0;
    for (; i < length; ++i) {
        const int digit = base == 16 ? HexDigitValue(text[i]) : (IsDigit(text[i]) ? text[i] - '0' : -1);
        if (digit < 0)
            break;
        magnitude = magnitude * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
        if (magnitude > limit)
            ThrowNotInteger(text);
        ++digits;
    }
    if (digits == 0 || i != length)
        ThrowNotInteger(text);
    if (negative)
        return static_cast<std::int32_t>(-static_cast<std::int64_t>(magnitude));
    if (magnitude == limit)
        ThrowNotInteger(text);
    return static_cast<std::int32_t>(magnitude);
}

namespace {

// |value| = mantissa * 2^(binaryExponent - 64) with the top bit of mantissa set, for a finite
// non-zero value. The x87 format is read directly: frexp and ldexp are library calls.
void SplitBinary(Extended magnitude, std::uint64_t& mantissa, int& binaryExponent)
{
    if constexpr (std::numeric_limits<Extended>::digits == 64 && sizeof(Extended) >= 10
                  && std::endian::native == std::endian::little) {
        unsigned char bytes[sizeof(Extended)];
        std::memcpy(bytes, &magnitude, sizeof bytes);
        const int biased = ((bytes[9] & 0x7F) << 8) | bytes[8];
        if (biased != 0) {
            // A normal number: the integer bit is stored, so the significand is the mantissa.
            std::memcpy(&mantissa, bytes, sizeof mantissa);
            binaryExponent = biased - 16382;
            return;
        }
    }
    const Extended fraction = std::frexp(magnitude, &binaryExponent);
    mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 64));
}

// The correctly rounded 18 significant digits (ties to even) of a magnitude of at least 1
// whose whole part is below 10^19, as one integer: 10^17 <= digits < 10^18, the first digit
// standing at 10^exponent. The first 19 digits are whole * 10^f + the fraction's first f
// digits, one 64x64-bit product. False for any other magnitude.
bool EighteenDigits(Extended magnitude, std::uint64_t& digits, int& exponent)
{
    std::uint64_t mantissa = 0;
    int binaryExponent = 0;
    SplitBinary(magnitude, mantissa, binaryExponent);
    const int shift = 64 - binaryExponent;
    if (shift < 0 || shift > 63)
        return false;
    const std::uint64_t whole = mantissa >> shift;
    if (whole == 0 || whole >= PowersOfTen[19])
        return false;
    const std::uint64_t rest = mantissa & ((std::uint64_t{1} << shift) - 1);

    const int wholeDigits = DigitCount(whole);
    const std::size_t fractionDigits = static_cast<std::size_t>(19 - wholeDigits);
    const UInt128 scaled = UInt128{rest} * PowersOfTen[fractionDigits];
    const bool sticky = (scaled & ((UInt128{1} << shift) - 1)) != 0;
    const std::uint64_t nineteen = whole * PowersOfTen[fractionDigits] + static_cast<std::uint64_t>(scaled >> shift);

    digits = nineteen / 10;
    const std::uint64_t next = nineteen % 10;
    if (next > 5 || (next == 5 && (sticky || digits % 2 == 1)))
        ++digits;
    exponent = wholeDigits - 1;
    if (digits == PowersOfTen[18]) {
        digits = PowersOfTen[17];
        ++exponent;
    }
    return true;
}

// Exact binary-to-decimal for the magnitudes coordinates have (about 7e-18 up to 2^64):
// value = mantissa / 2^shift, so the fraction's digits come out exactly by repeated
// multiplication by ten in 128 bits. Rounds to 18 digits to nearest, ties to even, as
// to_chars does, at a fraction of its cost (the list and the files format every point).
bool ExpandExactly(Extended value, DecimalExpansion& expansion)
{
    std::uint64_t eighteen = 0;
    int eighteenExponent = 0;
    if (EighteenDigits(std::fabs(value), eighteen, eighteenExponent)) {
        int count = 18;
        while (eighteen % 10000 == 0) {
            eighteen /= 10000;
            count -= 4;
        }
        while (eighteen % 10 == 0) {
            eighteen /= 10;
            --count;
        }
        WriteDigits(expansion.Digits.data() + count, eighteen, count);
        expansion.Count = count;
        expansion.Exponent = eighteenExponent;
        return true;
    }

    std::uint64_t mantissa = 0;
    int binaryExponent = 0;
    SplitBinary(std::fabs(value), mantissa, binaryExponent);
    const int shift = 64 - binaryExponent;
    if (shift < 0 || shift > 120)
        return false;
    std::uint64_t whole = shift >= 64 ? 0 : mantissa >> shift;
    UInt128 rest = shift >= 64 ? mantissa : mantissa & ((std::uint64_t{1} << shift) - 1);
    const UInt128 mask = (UInt128{1} << shift) - 1;

    char digits[19];
    int count = 0;
    int exponent = -1;
    bool sticky = false;
    if (whole != 0) {
        char reversed[20];
        int length = 0;
        for (; whole != 0; whole /= 10)
            reversed[length++] = static_cast<char>('0' + whole % 10);
        exponent = length - 1;
        for (int i = length - 1; i >= 0; --i) {
            if (count < 19)
                digits[count++] = reversed[i];
            else if (reversed[i] != '0')
                sticky = true;
        }
    }
    while (count < 19 && rest != 0) {
        rest *= 10;
        const char digit = static_cast<char>('0' + static_cast<int>(rest >> shift));
        rest &= mask;
        if (count == 0 && digit == '0') {
            --exponent;
            continue;
        }
        digits[count++] = digit;
    }
    for (; count < 19; ++count)
        digits[count] = '0';
    sticky = sticky || rest != 0;

    const char next = digits[18];
    const bool roundUp = next > '5' || (next == '5' && (sticky || (digits[17] - '0') % 2 == 1));
    int kept = 18;
    if (roundUp) {
        int position = 17;
        while (position >= 0 && digits[position] == '9')
            digits[position--] = '0';
        if (position < 0) {
            digits[0] = '1';
            kept = 1;
            ++exponent;
        } else {
            ++digits[position];
        }
    }
    while (kept > 0 && digits[kept - 1] == '0')
        --kept;
    for (int i = 0; i < kept; ++i)
        expansion.Digits[static_cast<std::size_t>(i)] = digits[i];
    expansion.Count = kept;
    expansion.Exponent = exponent;
    return true;
}

} // namespace

DecimalExpansion ExpandDecimal(Extended value)
{
    if (value == 0 || !std::isfinite(value)) {
        DecimalExpansion zero;
        zero.Negative = std::signbit(value);
        return zero;
    }
    DecimalExpansion fast;
    fast.Negative = value < 0;
    if (ExpandExactly(value, fast))
        return fast;

    // "-d.ddddddddddddddddde-dddd": to_chars ignores the locale and rounds correctly.
    char buffer[40];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::scientific, 17);
    DecimalExpansion expansion;
    const char* p = buffer;
    if (*p == '-') {
        expansion.Negative = true;
        ++p;
    }
    int count = 0;
    for (; p < result.ptr && *p != 'e'; ++p)
        if (IsDigit(*p) && count < 18)
            expansion.Digits[static_cast<std::size_t>(count++)] = *p;
    int exponent = 0;
    std::from_chars(p + 1 + (p[1] == '+'), result.ptr, exponent);
    while (count > 0 && expansion.Digits[static_cast<std::size_t>(count - 1)] == '0')
        --count;
    expansion.Count = count;
    expansion.Exponent = count == 0 ? 0 : exponent;
    return expansion;
}

void RoundExpansion(DecimalExpansion& expansion, int lowestPower)
{
    if (expansion.Count == 0)
        return;
    // Digits wider apart than any long double spans cannot be kept: avoid int overflow.
    const long long keepWide = static_cast<long long>(expansion.Exponent) - lowestPower + 1;
    if (keepWide >= expansion.Count)
        return;
    if (keepWide < 0) {
        expansion.Count = 0;
        expansion.Exponent = 0;
        return;
    }
    const int keep = static_cast<int>(keepWide);
    const bool roundUp = expansion.Digits[static_cast<std::size_t>(keep)] >= '5';
    expansion.Count = keep;
    if (roundUp) {
        int position = keep - 1;
        while (position >= 0 && expansion.Digits[static_cast<std::size_t>(position)] == '9')
            --position;
        if (position < 0) {
            // All nines (or nothing kept): the carry makes one digit at the next power up.
            expansion.Digits[0] = '1';
            expansion.Count = 1;
            expansion.Exponent += 1;
            return;
        }
        ++expansion.Digits[static_cast<std::size_t>(position)];
        expansion.Count = position + 1;
    }
    while (expansion.Count > 0 && expansion.Digits[static_cast<std::size_t>(expansion.Count - 1)] == '0')
        --expansion.Count;
    if (expansion.Count == 0)
        expansion.Exponent = 0;
}

std::string NonFiniteText(Extended value)
{
    if (std::isnan(value))
        return "NAN";
    return value < 0 ? "-INF" : "INF";
}

namespace {

// The 18 digits as one integer, rounded half away from zero at the last decimal: the same two
// roundings as the expansion, for magnitudes from 1 whose 18 digits reach the last decimal.
bool AppendEighteenDigitFixedText(std::string& text, Extended value, int decimals)
{
    std::uint64_t digits = 0;
    int exponent = 0;
    if (decimals >= 17 || !EighteenDigits(std::fabs(value), digits, exponent) || exponent + decimals + 1 > 17)
        return false;
    const int drop = 18 - (exponent + decimals + 1);
    std::uint64_t units = digits / PowersOfTen[static_cast<std::size_t>(drop)];
    if (digits / PowersOfTen[static_cast<std::size_t>(drop - 1)] % 10 >= 5)
        ++units;
    // The magnitude is at least 1, so units >= 10^decimals: never "-0", always a whole digit.
    const int count = DigitCount(units);
    const bool sign = value < 0;
    const std::size_t start = text.size();
    text.resize(start + static_cast<std::size_t>(sign) + static_cast<std::size_t>(count)
                + (decimals > 0 ? 1 : 0));
    char* out = text.data() + start;
    if (sign)
        *out++ = '-';
    const std::uint64_t scale = PowersOfTen[static_cast<std::size_t>(decimals)];
    out += count - decimals;
    WriteDigits(out, units / scale, count - decimals);
    if (decimals > 0) {
        *out++ = '.';
        WriteDigits(out + decimals, units % scale, decimals);
    }
    return true;
}

// Any finite value: its 18-digit expansion rounded at the last decimal.
void AppendExpandedFixedText(std::string& text, Extended value, int decimals)
{
    DecimalExpansion expansion = ExpandDecimal(value);
    RoundExpansion(expansion, -decimals);

    const bool sign = expansion.Negative && expansion.Count > 0;
    const int integerDigits = expansion.Count > 0 && expansion.Exponent >= 0 ? expansion.Exponent + 1 : 1;
    const std::size_t length = static_cast<std::size_t>(sign) + static_cast<std::size_t>(integerDigits)
        + (decimals > 0 ? 1 + static_cast<std::size_t>(decimals) : 0);
    const std::size_t start = text.size();
    text.resize(start + length, '0');
    char* out = text.data() + start;
    if (sign)
        *out++ = '-';
    // Digit at power p sits at index Exponent - p of the expansion.
    auto digitAt = [&expansion](int power) {
        const long long index = static_cast<long long>(expansion.Exponent) - power;
        return index >= 0 && index < expansion.Count ? expansion.Digits[static_cast<std::size_t>(index)] : '0';
    };
    for (int power = integerDigits - 1; power >= 0; --power)
        *out++ = digitAt(power);
    if (decimals > 0) {
        *out++ = '.';
        for (int power = -1; power >= -decimals; --power)
            *out++ = digitAt(power);
    }
}

} // namespace

void AppendFixedText(std::string& text, Extended value, int decimals)
{
    char quick[QuickFixedTextRoom];
    if (const char* end = QuickFixedText(quick, value, decimals)) {
        text.append(quick, static_cast<std::size_t>(end - quick));
        return;
    }
    if (!std::isfinite(value)) {
        text += NonFiniteText(value);
        return;
    }
    if (decimals < 0)
        decimals = 0;
    if (!AppendEighteenDigitFixedText(text, value, decimals))
        AppendExpandedFixedText(text, value, decimals);
}

std::string FixedTextExactly(Extended value, int decimals)
{
    if (!std::isfinite(value))
        return NonFiniteText(value);
    std::string text;
    AppendExpandedFixedText(text, value, decimals < 0 ? 0 : decimals);
    return text;
}

char* PutFixedText(char* out, Extended value, int decimals)
{
    if (char* end = QuickFixedText(out, value, decimals))
        return end;
    const std::string text = FixedText(value, decimals);
    std::memcpy(out, text.data(), text.size());
    return out + text.size();
}

std::string FixedText(Extended value, int decimals)
{
    std::string text;
    AppendFixedText(text, value, decimals);
    return text;
}

char* PutPaddedInteger(char* out, std::int64_t value, int minDigits)
{
    const std::uint64_t magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    const int count = DigitCount(magnitude);
    if (value < 0)
        *out++ = '-';
    // Tolerances, modes, file references, point numbers: eight digits at most, zeros included.
    if (magnitude < 100000000 && minDigits <= 8)
        return PutLastDigits(out, static_cast<std::uint32_t>(magnitude), count > minDigits ? count : minDigits);
    for (int zeros = minDigits - count; zeros > 0; --zeros)
        *out++ = '0';
    WriteDigits(out + count, magnitude, count);
    return out + count;
}

void AppendPaddedInteger(std::string& text, std::int64_t value, int minDigits)
{
    char buffer[24];
    if (minDigits <= 20) {
        text.append(buffer, static_cast<std::size_t>(PutPaddedInteger(buffer, value, minDigits) - buffer));
        return;
    }
    std::string wide(PaddedIntegerRoom(minDigits), '\0');
    wide.resize(static_cast<std::size_t>(PutPaddedInteger(wide.data(), value, minDigits) - wide.data()));
    text += wide;
}

std::string PaddedInteger(std::int64_t value, int minDigits)
{
    std::string text;
    AppendPaddedInteger(text, value, minDigits);
    return text;
}

} // namespace uzuviv
