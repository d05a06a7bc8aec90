#include "model/CoordinateFormats.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

#include "model/NumberText.h"
#include "model/DecimalDigits.h"
#include "model/QuickNumberText.h"
#include "text/text.h"

namespace uzuviv {

using namespace digits;

namespace {

// Truncation toward zero into a magnitude-safe int64: a file can hold any number, and
// converting a NaN or an out-of-range long double is undefined. NaN gives 0, anything
// beyond the range its nearest end (kept symmetric so that the magnitude is representable).
std::int64_t TruncateToInt64(Extended value)
{
    constexpr std::int64_t largest = std::numeric_limits<std::int64_t>::max();
    if (std::isnan(value))
        return 0;
    if (value >= 0x1p63L)
        return largest;
    if (value <= -0x1p63L)
        return -largest;
    return static_cast<std::int64_t>(value);
}

std::int64_t Magnitude(std::int64_t value) { return value < 0 ? -value : value; }

// Degree sign, minutes and seconds marks as the list and the printout show them.
constexpr const char* DegreeMark = "\xC2\xB0 ";

std::string DMText(Extended value, char hemisphere)
{
    const DMValue split = DegreesToDM(value);
    std::string text = PaddedInteger(split.Degrees, 1);
    text += DegreeMark;
    text += FixedText(split.Minutes, 6);
    text += "' ";
    text += hemisphere;
    return text;
}

std::string DMSdText(Extended value, char hemisphere)
{
    const DMSdValue split = DegreesToDMSd(value);
    std::string text = PaddedInteger(split.Degrees, 1);
    text += DegreeMark;
    text += PaddedInteger(split.Minutes, 1);
    text += "' ";
    text += FixedText(split.Seconds, 2);
    text += "\" ";
    text += hemisphere;
    return text;
}

std::string DMSText(Extended value, char hemisphere)
{
    const DMSValue split = DegreesToDMS(value);
    std::string text = PaddedInteger(split.Degrees, 1);
    text += DegreeMark;
    text += PaddedInteger(split.Minutes, 1);
    text += "' ";
    text += PaddedInteger(split.Seconds, 1);
    text += "\" ";
    text += hemisphere;
    return text;
}

std::string FormatCoordinate(Extended value, int displayMode, char positive, char negative)
{
    // Negative zero compares equal to 0 and so takes the positive hemisphere.
    const char hemisphere = value < 0 ? negative : positive;
    switch (displayMode) {
    case 2:
        return DMText(value, hemisphere);
    case 3:
        return DMSdText(value, hemisphere);
    case 4:
        return DMSText(value, hemisphere);
    default:
        return FixedText(value, 6);
    }
}

} // namespace

namespace {

// The value's 18-digit expansion rounded to 15 significant digits.
DecimalExpansion FifteenDigitsExactly(Extended value)
{
    DecimalExpansion expansion = ExpandDecimal(value);
    RoundExpansion(expansion, expansion.Exponent - 14);
    return expansion;
}


// The zeros a plain text needs between or after the digits.
std::size_t PaddingZeros(const DecimalExpansion& expansion)
{
    const int exponent = expansion.Exponent;
    const int count = expansion.Count;
    return exponent < 0 ? static_cast<std::size_t>(-exponent - 1)
                        : static_cast<std::size_t>(exponent + 1 > count ? exponent + 1 - count : 0);
}

// Writes the text of a finite value's rounded expansion at `out`, which has room for
// GeneralTextRoom plus PaddingZeros (unless in exponent form); returns the end.
constexpr std::size_t GeneralTextRoom = 40;

char* PutGeneralText(char* out, const DecimalExpansion& expansion, bool exponentForm)
{
    if (expansion.Count == 0) {
        *out++ = '0';
        return out;
    }
    const int exponent = expansion.Exponent;
    const int count = expansion.Count;
    const auto digits = [&out, &expansion](int from, int to) {
        for (int i = from; i < to; ++i)
            *out++ = expansion.Digits[static_cast<std::size_t>(i)];
    };
    const auto fill = [&out](std::size_t count) {
        for (std::size_t i = 0; i < count; ++i)
            *out++ = '0';
    };
    if (expansion.Negative)
        *out++ = '-';
    if (exponentForm && (exponent < -4 || exponent >= 15)) {
        *out++ = expansion.Digits[0];
        if (count > 1) {
            *out++ = '.';
            digits(1, count);
        }
        *out++ = 'E';
        if (exponent < 0)
            *out++ = '-';
        out = std::to_chars(out, out + 8, exponent < 0 ? -exponent : exponent).ptr;
    } else if (exponent < 0) {
        *out++ = '0';
        *out++ = '.';
        fill(PaddingZeros(expansion));
        digits(0, count);
    } else if (count <= exponent + 1) {
        digits(0, count);
        fill(PaddingZeros(expansion));
    } else {
        digits(0, exponent + 1);
        *out++ = '.';
        digits(exponent + 1, count);
    }
    return out;
}

std::string GeneralText(const DecimalExpansion& expansion, bool exponentForm)
{
    // Built in place and made a string once. The longest plain text of a long double has about
    // 4950 characters.
    const std::size_t room = GeneralTextRoom + (exponentForm ? 0 : PaddingZeros(expansion));
    char shortBuffer[64];
    std::string longBuffer;
    char* const text = room <= sizeof shortBuffer ? shortBuffer : (longBuffer.resize(room), longBuffer.data());
    return std::string(text, PutGeneralText(text, expansion, exponentForm));
}

// The text of 15 digits (10^14 <= digits < 10^15, the first at 10^exponent) in plain notation,
// for exponents from -4 to 14, written at `out` with CoordinateTextRoom; returns the end.
char* PutFifteenDigitsPlainly(char* out, bool negative, std::uint64_t digits, int exponent)
{
    // The digits as text in two words, 7 and 8 of them, and how many are significant.
    const std::uint64_t high = EightDigits(static_cast<std::uint32_t>(digits / 100000000));
    const std::uint64_t low = EightDigits(static_cast<std::uint32_t>(digits % 100000000));
    // Trailing zero digits are the top zero bytes of a word.
    const int count = low != 0 ? 15 - std::countl_zero(low) / 8 : 7 - std::countl_zero(high) / 8;
    // All 15 in one register pair, the first digit in the lowest byte; written with 16-byte
    // stores and cut after, never read back from memory.
    const UInt128 text = (UInt128{(high | AsciiZeros) >> 8}) | (UInt128{low | AsciiZeros} << 56);
    *out = '-';
    out += negative;
    if (exponent >= 0) {
        const int whole = exponent + 1;
        std::memcpy(out, &text, 16);
        out += whole;
        if (count > whole) {
            *out++ = '.';
            const UInt128 decimals = text >> (8 * whole);
            std::memcpy(out, &decimals, 16);
            out += count - whole;
        }
        return out;
    }
    std::memcpy(out, "0.0000", 6);
    out += 1 - exponent;
    std::memcpy(out, &text, 16);
    return out + count;
}

// CoordinateText (exponentForm) or PlainCoordinateText of a finite value.
char* PutGeneralText(char* out, Extended value, bool exponentForm)
{
    std::uint64_t digits = 0;
    int exponent = 0;
    if (QuickFifteenDigits(value, digits, exponent) && exponent >= -4 && exponent <= 14)
        return PutFifteenDigitsPlainly(out, std::signbit(value), digits, exponent);
    return PutGeneralText(out, FifteenDigitsExactly(value), exponentForm);
}

std::string GeneralText(Extended value, bool exponentForm)
{
    if (!std::isfinite(value))
        return NonFiniteText(value);
    // The plain text of a tiny value can be long; the rest fits here.
    char text[CoordinateTextRoom];
    std::uint64_t digits = 0;
    int exponent = 0;
    if (QuickFifteenDigits(value, digits, exponent) && exponent >= -4 && exponent <= 14)
        return std::string(text, PutFifteenDigitsPlainly(text, std::signbit(value), digits, exponent));
    return GeneralText(FifteenDigitsExactly(value), exponentForm);
}

} // namespace

std::string CoordinateText(Extended value)
{
    return GeneralText(value, true);
}

std::string CoordinateTextExactly(Extended value)
{
    if (!std::isfinite(value))
        return NonFiniteText(value);
    return GeneralText(FifteenDigitsExactly(value), true);
}

char* PutCoordinateText(char* out, Extended value)
{
    if (!std::isfinite(value)) {
        const std::string text = NonFiniteText(value);
        std::memcpy(out, text.data(), text.size());
        return out + text.size();
    }
    return PutGeneralText(out, value, true);
}

std::string PlainCoordinateText(Extended value)
{
    return GeneralText(value, false);
}

std::string FormatLatitude(Extended value, int displayMode)
{
    return FormatCoordinate(value, displayMode, 'N', 'S');
}

std::string FormatLongitude(Extended value, int displayMode)
{
    return FormatCoordinate(value, displayMode, 'E', 'W');
}

DMValue DegreesToDM(Extended value)
{
    const std::int64_t degrees = TruncateToInt64(value);
    const Extended minutes = (value - static_cast<Extended>(degrees)) * 60;
    return {Magnitude(degrees), std::fabs(minutes)};
}

DMSdValue DegreesToDMSd(Extended value)
{
    const std::int64_t degrees = TruncateToInt64(value);
    const Extended fraction = (value - static_cast<Extended>(degrees)) * 60;
    const std::int64_t minutes = TruncateToInt64(fraction);
    const Extended seconds = (fraction - static_cast<Extended>(minutes)) * 60;
    return {Magnitude(degrees), Magnitude(minutes), std::fabs(seconds)};
}

DMSValue DegreesToDMS(Extended value)
{
    const DMSdValue split = DegreesToDMSd(value);
    return {split.Degrees, split.Minutes, Magnitude(TruncateToInt64(split.Seconds))};
}

Extended DMToDegrees(bool negative, std::int64_t degrees, Extended minutes)
{
    Extended result = std::fabs(static_cast<Extended>(degrees));
    result = result + std::fabs(minutes) / 60;
    return negative ? -result : result;
}

Extended DMSdToDegrees(bool negative, std::int64_t degrees, std::int64_t minutes, Extended seconds)
{
    Extended result = std::fabs(static_cast<Extended>(degrees));
    result = result + std::fabs(static_cast<Extended>(minutes)) / 60;
    result = result + std::fabs(seconds) / 3600;
    return negative ? -result : result;
}

Extended DMSToDegrees(bool negative, std::int64_t degrees, std::int64_t minutes, std::int64_t seconds)
{
    return DMSdToDegrees(negative, degrees, minutes, static_cast<Extended>(seconds));
}

std::string FilterCoordinateText(std::string_view text, bool digits, bool signs,
                                 bool decimalMarks, bool northSouth, bool eastWest)
{
    std::string filtered;
    filtered.reserve(text.size());
    // Bytes of a multi-byte UTF-8 character are all 0x80 or above, so they go together.
    for (const char c : text) {
        if (digits && c >= '0' && c <= '9')
            filtered += c;
        else if (signs && (c == '+' || c == '-'))
            filtered += c;
        else if (decimalMarks && (c == ',' || c == '.'))
            filtered += '.';
        else if (northSouth && (c == 'S' || c == 's'))
            filtered += '-';
        else if (eastWest && (c == 'W' || c == 'w'))
            filtered += '-';
        // N, n, E and e of an enabled class are kept and then removed: nothing to add.
    }
    return filtered;
}

const std::string& ModeName(int mode)
{
    const int item = mode == 2 ? 9 : mode == 3 ? 10 : 8;
    return LanguageText(TextTable::ListTexts, item);
}

std::string ListCell(const TGPSRecord& record, std::size_t index, int displayMode, int column)
{
    switch (column) {
    case 0:
        return PaddedInteger(static_cast<std::int64_t>(index) + 1, 3);
    case 1:
        return FormatLatitude(record.Latitude, displayMode);
    case 2:
        return FormatLongitude(record.Longitude, displayMode);
    case 3:
        return PaddedInteger(record.Tolerance, 3);
    case 4:
        return ModeName(record.Mode);
    case 5:
        return PaddedInteger(record.FileRef, 3);
    case 6:
        return record.Comments;
    default:
        return {};
    }
}

ListRowTexts ListRow(const TGPSRecord& record, std::size_t index, int displayMode)
{
    ListRowTexts row;
    for (int column = 0; column < 7; ++column)
        row[static_cast<std::size_t>(column)] = ListCell(record, index, displayMode, column);
    return row;
}

} // namespace uzuviv
