#include "NumberComparison.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>

#include "model/CoordinateFormats.h"
#include "model/NumberText.h"
#include "model/QuickNumberText.h"

namespace uzuviv::numbercheck {

namespace {

// The standard fixes mt19937_64's sequence (not its distributions'), so a seed repeats anywhere.
class Random {
public:
    explicit Random(std::uint64_t seed) : engine_(seed) {}
    std::uint64_t Next() { return engine_(); }
    std::uint64_t Below(std::uint64_t bound) { return Next() % bound; }
    bool OneIn(std::uint64_t n) { return Below(n) == 0; }

private:
    std::mt19937_64 engine_;
};

constexpr std::size_t KeptDifferences = 20;

std::string HexText(Extended value)
{
    char buffer[64];
    return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::hex).ptr);
}

void Record(Tally& tally, Difference difference)
{
    ++tally.DifferenceCount;
    if (tally.Differences.size() < KeptDifferences)
        tally.Differences.push_back(std::move(difference));
}

Extended FromParts(bool negative, int biased, std::uint64_t mantissa)
{
    Extended value = 0;
    unsigned char bytes[sizeof(Extended)] = {};
    std::memcpy(bytes, &mantissa, sizeof mantissa);
    const unsigned top = (negative ? 0x8000u : 0u) | static_cast<unsigned>(biased);
    bytes[8] = static_cast<unsigned char>(top & 0xFF);
    bytes[9] = static_cast<unsigned char>(top >> 8);
    std::memcpy(&value, bytes, sizeof bytes);
    return value;
}

Extended StepAway(Extended value, int steps)
{
    const Extended toward = steps < 0 ? -std::numeric_limits<Extended>::infinity()
                                      : std::numeric_limits<Extended>::infinity();
    for (int i = 0; i < (steps < 0 ? -steps : steps); ++i)
        value = std::nextafter(value, toward);
    return value;
}

void AppendDigits(std::string& text, Random& random, int count)
{
    for (int i = 0; i < count; ++i)
        text += static_cast<char>('0' + random.Below(10));
}

void AppendSign(std::string& text, Random& random)
{
    const std::uint64_t sign = random.Below(8);
    if (sign < 3)
        text += '-';
    else if (sign == 3)
        text += '+';
}

// ---- texts to read ----

using TextMaker = void (*)(std::string&, Random&);

// As the GPS file writes them.
void SixDecimalCoordinate(std::string& text, Random& random)
{
    if (random.OneIn(2))
        text += '-';
    text += std::to_string(random.Below(181));
    text += '.';
    AppendDigits(text, random, 6);
}

// As the project file writes them: the general text of values of many magnitudes.
void GeneralTextOfAnyValue(std::string& text, Random& random)
{
    const Extended value = std::ldexp(static_cast<Extended>(random.Next() | 1), static_cast<int>(random.Below(240)) - 180);
    text += CoordinateText(random.OneIn(2) ? -value : value);
}

// 1 to 40 digits, the point anywhere, leading zeros, signs, exponents, blanks.
void DigitString(std::string& text, Random& random)
{
    if (random.OneIn(16))
        text += random.OneIn(2) ? " " : "\t ";
    AppendSign(text, random);
    const int digits = 1 + static_cast<int>(random.Below(random.OneIn(4) ? 40 : 21));
    const int point = static_cast<int>(random.Below(static_cast<std::uint64_t>(digits) + 2)) - 1;
    const int zeros = random.OneIn(5) ? static_cast<int>(random.Below(static_cast<std::uint64_t>(digits) + 1)) : 0;
    for (int i = 0; i < digits; ++i) {
        if (i == point)
            text += '.';
        text += i < zeros ? '0' : static_cast<char>('0' + random.Below(10));
    }
    if (point == digits)
        text += '.';
    if (random.OneIn(3)) {
        text += random.OneIn(2) ? 'e' : 'E';
        const int exponent = static_cast<int>(random.Below(121)) - 60;
        if (exponent >= 0 && random.OneIn(2))
            text += '+';
        text += std::to_string(exponent);
    }
    if (random.OneIn(16))
        text += ' ';
}

// Down to the subnormals and zero, up to the largest value and beyond.
void ExtremeExponent(std::string& text, Random& random)
{
    AppendSign(text, random);
    const int digits = 1 + static_cast<int>(random.Below(25));
    text += static_cast<char>('1' + random.Below(9));
    if (digits > 1) {
        text += '.';
        AppendDigits(text, random, digits - 1);
    }
    text += 'e';
    text += std::to_string(random.OneIn(2) ? static_cast<int>(random.Below(160)) + 4880
                                           : -static_cast<int>(random.Below(180)) - 4860);
}

// The texts of values next to the largest and the smallest, in 15 to 21 digits.
void NextToTheEnds(std::string& text, Random& random)
{
    const int steps = static_cast<int>(random.Below(5));
    Extended value;
    switch (random.Below(3)) {
    case 0:
        value = StepAway(std::numeric_limits<Extended>::max(), -steps);
        break;
    case 1:
        value = StepAway(std::numeric_limits<Extended>::denorm_min(), steps);
        break;
    default:
        value = StepAway(std::numeric_limits<Extended>::min(), steps - 2);
        break;
    }
    char buffer[64];
    const int precision = 14 + static_cast<int>(random.Below(7));
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, random.OneIn(2) ? -value : value,
                                   std::chars_format::scientific, precision).ptr;
    text.append(buffer, end);
    // The 18-digit rounding of the largest value can lie above it: one more in the last digit.
    if (random.OneIn(4)) {
        const std::size_t e = text.find('e');
        if (e != std::string::npos && text[e - 1] < '9')
            ++text[e - 1];
    }
}

// Texts that are no numbers, or barely are.
void AlmostANumber(std::string& text, Random& random)
{
    static constexpr char alphabet[] = "0123456789..--++eE  x,\t5";
    const int length = static_cast<int>(random.Below(13));
    for (int i = 0; i < length; ++i)
        text += alphabet[random.Below(sizeof alphabet - 1)];
}

// Whole numbers around 2^63 and 2^64, where 19 digits end and the mantissa fills up.
void AroundTwoToTheSixtyFour(std::string& text, Random& random)
{
    AppendSign(text, random);
    const std::uint64_t base = random.OneIn(2) ? (std::uint64_t{1} << 63) : std::numeric_limits<std::uint64_t>::max();
    std::string digits = std::to_string(base - random.Below(4096));
    if (random.OneIn(2))
        digits += static_cast<char>('0' + random.Below(10));   // 20 digits
    const std::size_t point = random.OneIn(3) ? digits.size() - 1 - random.Below(10) : digits.size();
    text.append(digits, 0, point);
    if (point < digits.size())
        text.append(".").append(digits, point, std::string::npos);
}

struct TextKind {
    const char* Name;
    TextMaker Make;
    std::uint64_t Weight;
};

constexpr std::array<TextKind, 7> TextKinds{{
    {"six-decimal coordinates", SixDecimalCoordinate, 6},
    {"general texts of any magnitude", GeneralTextOfAnyValue, 4},
    {"1 to 40 digits, points, signs, exponents, blanks", DigitString, 6},
    {"exponents from -5040 to 5040", ExtremeExponent, 1},
    {"next to the largest, smallest and subnormal", NextToTheEnds, 1},
    {"around 2^63 and 2^64", AroundTwoToTheSixtyFour, 1},
    {"texts that are barely or no numbers", AlmostANumber, 1},
}};

// The value read, or the refusal's message.
struct Reading {
    bool Refused = false;
    Extended Value = 0;
    std::string Message;
};

template <typename Parse>
Reading Read(Parse parse, const std::string& text)
{
    Reading reading;
    try {
        reading.Value = parse(text);
    } catch (const ConversionError& error) {
        reading.Refused = true;
        reading.Message = error.what();
    }
    return reading;
}

bool Same(const Reading& a, const Reading& b)
{
    if (a.Refused || b.Refused)
        return a.Refused == b.Refused && a.Message == b.Message;
    if (std::isnan(a.Value) || std::isnan(b.Value))
        return std::isnan(a.Value) && std::isnan(b.Value);
    return a.Value == b.Value && std::signbit(a.Value) == std::signbit(b.Value);
}

std::string Shown(const Reading& reading)
{
    return reading.Refused ? "refused: " + reading.Message : HexText(reading.Value);
}

// ---- values to write ----

using ValueMaker = Extended (*)(Random&);

// Every binary exponent, subnormals included, with equal weight.
Extended AnyExponent(Random& random)
{
    const int biased = static_cast<int>(random.Below(0x7FFF));
    std::uint64_t mantissa = random.Next();
    if (biased == 0)
        mantissa >>= random.Below(64);
    else
        mantissa |= std::uint64_t{1} << 63;
    return FromParts(random.OneIn(2), biased, mantissa);
}

// 2^-70 to 2^70: where the quick paths work and where they stop.
Extended ModerateExponent(Random& random)
{
    const int exponent = static_cast<int>(random.Below(141)) - 70;
    return FromParts(random.OneIn(2), 16382 + exponent, random.Next() | (std::uint64_t{1} << 63));
}

// As the readers make them from texts with 1 to 9 decimals.
Extended CoordinateAsRead(Random& random)
{
    std::string text;
    if (random.OneIn(2))
        text += '-';
    text += std::to_string(random.Below(181));
    text += '.';
    AppendDigits(text, random, 1 + static_cast<int>(random.Below(9)));
    return ParseDecimalExactly(text);
}

// Ties of "%.6f" are the odd multiples of 2^-7, of "%.2f" those of 2^-3; and their neighbours.
Extended HalfwayOfTheDecimals(Random& random)
{
    const std::uint64_t odd = (random.Below(std::uint64_t{1} << (random.OneIn(2) ? 40 : 20))) * 2 + 1;
    const Extended value = std::ldexp(static_cast<Extended>(odd), random.OneIn(3) ? -3 : -7);
    const int steps = random.OneIn(2) ? 0 : static_cast<int>(random.Below(9)) - 4;
    return StepAway(random.OneIn(2) ? -value : value, steps);
}

// The values nearest to decimals that end in 5 one place after the last printed one, or in
// 4999... or 5000... there: their 18-digit expansion decides the rounding.
Extended NearlyHalfwayInDecimal(Random& random)
{
    std::string text;
    if (random.OneIn(2))
        text += '-';
    const std::uint64_t form = random.Below(3);
    const int wholeDigits = static_cast<int>(random.Below(form == 2 ? 15 : 11));
    if (wholeDigits == 0)
        text += '0';
    else {
        text += static_cast<char>('1' + random.Below(9));
        AppendDigits(text, random, wholeDigits - 1);
    }
    text += '.';
    // Up to the digit after the last printed one: 6 or 2 decimals, or the 16th significant digit.
    const int decimals = form == 0 ? 6 : form == 1 ? 2 : (wholeDigits == 0 ? 15 : 15 - wholeDigits);
    AppendDigits(text, random, decimals);
    switch (random.Below(3)) {
    case 0:
        text += '5';
        break;
    case 1:
        text += "4999999999";
        AppendDigits(text, random, static_cast<int>(random.Below(12)));
        break;
    default:
        text += "5000000000";
        AppendDigits(text, random, static_cast<int>(random.Below(12)));
        break;
    }
    return ParseDecimalExactly(text);
}

// Minutes and seconds as the list's splits make them from coordinates.
Extended ListSplit(Random& random)
{
    const Extended degrees = CoordinateAsRead(random);
    const DMSdValue split = DegreesToDMSd(degrees);
    return random.OneIn(2) ? split.Seconds : DegreesToDM(degrees).Minutes;
}

// Zero, the ends of the range, the powers of ten and two where the paths change, infinities
// and NaN, each with a few neighbours.
Extended SpecialValue(Random& random)
{
    static const std::array<Extended, 14> values = {
        0.0L, std::numeric_limits<Extended>::denorm_min(), std::numeric_limits<Extended>::min(),
        std::numeric_limits<Extended>::max(), 1.0L, 0x1p33L, 0x1p46L, 0x1p63L, 0x1p64L, 1e-5L, 1e-4L,
        1e15L, 1e11L, 1e17L,
    };
    switch (random.Below(16)) {
    case 0:
        return std::numeric_limits<Extended>::infinity();
    case 1:
        return -std::numeric_limits<Extended>::infinity();
    case 2:
        return std::numeric_limits<Extended>::quiet_NaN();
    default: {
        const Extended value = values[random.Below(values.size())];
        const int steps = static_cast<int>(random.Below(9)) - 4;
        const Extended stepped = value == 0 && steps < 0 ? StepAway(value, -steps) : StepAway(value, steps);
        return random.OneIn(2) ? -stepped : stepped;
    }
    }
}

struct ValueKind {
    const char* Name;
    ValueMaker Make;
    std::uint64_t Weight;
};

constexpr std::array<ValueKind, 7> ValueKinds{{
    {"every binary exponent, subnormals included", AnyExponent, 1},
    {"binary exponents -70 to 70", ModerateExponent, 6},
    {"coordinates read from 1 to 9 decimals", CoordinateAsRead, 6},
    {"ties of %.6f and %.2f and their neighbours", HalfwayOfTheDecimals, 3},
    {"nearest to a decimal half after the last digit", NearlyHalfwayInDecimal, 3},
    {"minutes and seconds of the list's splits", ListSplit, 2},
    {"zero, ends of the range, boundaries, INF, NAN", SpecialValue, 1},
}};

template <typename Kinds>
std::size_t Draw(const Kinds& kinds, Random& random)
{
    std::uint64_t total = 0;
    for (const auto& kind : kinds)
        total += kind.Weight;
    std::uint64_t pick = random.Below(total);
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        if (pick < kinds[i].Weight)
            return i;
        pick -= kinds[i].Weight;
    }
    return 0;
}

template <typename Kinds>
Tally StartTally(const Kinds& kinds)
{
    Tally tally;
    for (const auto& kind : kinds)
        tally.Kinds.push_back({kind.Name, 0, 0});
    return tally;
}

} // namespace

Tally CompareReading(std::uint64_t seed, std::uint64_t count)
{
    Random random(seed);
    Tally tally = StartTally(TextKinds);
    std::string text;
    for (std::uint64_t n = 0; n < count; ++n) {
        const std::size_t kind = Draw(TextKinds, random);
        text.clear();
        TextKinds[kind].Make(text, random);
        Extended quickValue;
        const bool quick = QuickParseDecimal(text, quickValue);
        const Reading program = Read([](const std::string& t) { return ParseDecimal(t); }, text);
        const Reading exact = Read([](const std::string& t) { return ParseDecimalExactly(t); }, text);
        ++tally.Kinds[kind].Compared;
        ++tally.Compared;
        ++tally.Conversions;
        tally.Kinds[kind].Quick += quick;
        tally.Quick += quick;
        if (!Same(program, exact))
            Record(tally, {"read", text, Shown(program), Shown(exact)});
    }
    return tally;
}

Tally CompareWriting(std::uint64_t seed, std::uint64_t count)
{
    Random random(seed);
    Tally tally = StartTally(ValueKinds);
    char quick[QuickFixedTextRoom];
    std::uint64_t digits = 0;
    int exponent = 0;
    for (std::uint64_t n = 0; n < count; ++n) {
        const std::size_t kind = Draw(ValueKinds, random);
        const Extended value = ValueKinds[kind].Make(random);
        ++tally.Kinds[kind].Compared;
        ++tally.Compared;
        for (const int decimals : {6, 2}) {
            const bool tookQuick = QuickFixedText(quick, value, decimals) != nullptr;
            tally.Kinds[kind].Quick += tookQuick;
            tally.Quick += tookQuick;
            ++tally.Conversions;
            const std::string program = FixedText(value, decimals);
            const std::string exact = FixedTextExactly(value, decimals);
            if (program != exact)
                Record(tally, {decimals == 6 ? "%.6f" : "%.2f", HexText(value), program, exact});
        }
        const bool tookQuick = QuickFifteenDigits(value, digits, exponent);
        tally.Kinds[kind].Quick += tookQuick;
        tally.Quick += tookQuick;
        ++tally.Conversions;
        const std::string program = CoordinateText(value);
        const std::string exact = CoordinateTextExactly(value);
        if (program != exact)
            Record(tally, {"general", HexText(value), program, exact});
    }
    return tally;
}

std::string Describe(const Tally& tally, const char* direction)
{
    std::string text;
    char line[200];
    std::snprintf(line, sizeof line, "%s: %llu inputs, %llu conversions compared, %llu by a quick path, %llu differences\n",
                  direction, static_cast<unsigned long long>(tally.Compared),
                  static_cast<unsigned long long>(tally.Conversions),
                  static_cast<unsigned long long>(tally.Quick),
                  static_cast<unsigned long long>(tally.DifferenceCount));
    text += line;
    for (const Kind& kind : tally.Kinds) {
        std::snprintf(line, sizeof line, "  %-52s %12llu inputs, %12llu quick\n", kind.Name.c_str(),
                      static_cast<unsigned long long>(kind.Compared), static_cast<unsigned long long>(kind.Quick));
        text += line;
    }
    for (const Difference& d : tally.Differences)
        text += "  DIFFERENT " + d.Conversion + " of " + d.Input + ": " + d.Quick + " instead of " + d.Exact + "\n";
    return text;
}

} // namespace uzuviv::numbercheck
