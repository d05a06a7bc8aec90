// The quick conversions the files use for every point against slow references that are
// obviously right: strtold_l for reading, to_chars' correctly rounded 18 digits with decimal
// string rounding for writing. Seeded, so a failure repeats.
#include "model/CoordinateFormats.h"
#include "model/NumberText.h"
#include "NumberComparison.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <locale.h>
#include <random>
#include <stdlib.h>
#include <string>

#include <gtest/gtest.h>

namespace uzuviv {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr int RandomCount = 200000;
#else
constexpr int RandomCount = 3000000;
#endif

Extended ReferenceParse(const std::string& text)
{
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return strtold_l(text.c_str(), nullptr, locale);
}

// Identical down to the sign of zero.
::testing::AssertionResult SameValue(const std::string& text, Extended actual, Extended expected)
{
    if (actual == expected && std::signbit(actual) == std::signbit(expected))
        return ::testing::AssertionSuccess();
    char a[64], e[64];
    *std::to_chars(a, a + 63, actual, std::chars_format::hex).ptr = '\0';
    *std::to_chars(e, e + 63, expected, std::chars_format::hex).ptr = '\0';
    return ::testing::AssertionFailure() << "'" << text << "' read as " << a << ", expected " << e;
}

// The correctly rounded 18 significant digits of a finite non-zero value.
struct ReferenceDigits {
    bool Negative = false;
    std::string Digits;   // 18 digits
    int Exponent = 0;     // power of ten of Digits[0]
};

ReferenceDigits ReferenceExpansion(Extended value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 17);
    const std::string text(buffer, result.ptr);
    ReferenceDigits digits;
    std::size_t i = 0;
    if (text[i] == '-') {
        digits.Negative = true;
        ++i;
    }
    for (; text[i] != 'e'; ++i)
        if (text[i] != '.')
            digits.Digits += text[i];
    digits.Exponent = std::stoi(text.substr(i + 1));
    return digits;
}

// Adds one at the last digit of a digit string; true when it carries out of the first.
bool Increment(std::string& digits)
{
    for (std::size_t i = digits.size(); i-- > 0;) {
        if (digits[i] != '9') {
            ++digits[i];
            return false;
        }
        digits[i] = '0';
    }
    digits.insert(digits.begin(), '1');
    return true;
}

std::string ReferenceFixedText(Extended value, int decimals)
{
    if (value == 0)
        return decimals > 0 ? "0." + std::string(static_cast<std::size_t>(decimals), '0') : "0";
    const ReferenceDigits expansion = ReferenceExpansion(value);
    // Every digit from 10^max(exponent, 0) down to 10^-decimals, then the one after it.
    const int high = std::max(expansion.Exponent, 0);
    const auto digitAt = [&expansion](int power) {
        const int index = expansion.Exponent - power;
        return index >= 0 && index < 18 ? expansion.Digits[static_cast<std::size_t>(index)] : '0';
    };
    std::string digits;
    for (int power = high; power >= -decimals; --power)
        digits += digitAt(power);
    if (digitAt(-decimals - 1) >= '5')
        Increment(digits);
    const std::size_t integerLength = digits.size() - static_cast<std::size_t>(decimals);
    std::string integer = digits.substr(0, integerLength);
    while (integer.size() > 1 && integer[0] == '0')
        integer.erase(0, 1);
    std::string text = integer;
    if (decimals > 0)
        text += "." + digits.substr(integerLength);
    if (expansion.Negative && digits.find_first_not_of('0') != std::string::npos)
        text.insert(0, "-");
    return text;
}

std::string ReferenceCoordinateText(Extended value)
{
    if (value == 0)
        return "0";
    const ReferenceDigits expansion = ReferenceExpansion(value);
    std::string digits = expansion.Digits.substr(0, 15);
    int exponent = expansion.Exponent;
    if (expansion.Digits[15] >= '5' && Increment(digits)) {
        digits.pop_back();
        ++exponent;
    }
    while (digits.back() == '0')
        digits.pop_back();
    std::string text = expansion.Negative ? "-" : "";
    const int count = static_cast<int>(digits.size());
    if (exponent < -4 || exponent >= 15) {
        text += digits.substr(0, 1);
        if (count > 1)
            text += "." + digits.substr(1);
        text += "E" + std::to_string(exponent);
    } else if (exponent < 0) {
        text += "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    } else if (count <= exponent + 1) {
        text += digits + std::string(static_cast<std::size_t>(exponent + 1 - count), '0');
    } else {
        text += digits.substr(0, static_cast<std::size_t>(exponent + 1)) + "."
                + digits.substr(static_cast<std::size_t>(exponent + 1));
    }
    return text;
}

TEST(NumberSpeedPathTest, RandomDecimalTextsReadAsStrtold)
{
    std::mt19937_64 random(20261207);
    std::string text;
    for (int n = 0; n < RandomCount; ++n) {
        text.clear();
        const std::uint64_t choice = random();
        if (choice % 3 == 1)
            text += '-';
        else if (choice % 3 == 2 && (choice >> 2) % 4 == 0)
            text += '+';
        // 1 to 20 digits, around the 19 an integer holds; sometimes leading zeros.
        const int digits = 1 + static_cast<int>((choice >> 4) % 20);
        const int point = static_cast<int>((choice >> 9) % static_cast<std::uint64_t>(digits + 2)) - 1;
        const bool leadingZeros = (choice >> 14) % 5 == 0;
        for (int i = 0; i < digits; ++i) {
            if (i == point)
                text += '.';
            text += leadingZeros && i < digits / 2 ? '0' : static_cast<char>('0' + random() % 10);
        }
        if (point == digits)
            text += '.';
        // Exponents on both sides of the 27 that ten's exact powers reach.
        if ((choice >> 18) % 3 == 0) {
            text += (choice >> 20) % 2 == 0 ? 'e' : 'E';
            const int exponent = static_cast<int>((choice >> 21) % 81) - 40;
            if (exponent >= 0 && (choice >> 30) % 2 == 0)
                text += '+';
            text += std::to_string(exponent);
        }
        ASSERT_TRUE(SameValue(text, ParseDecimal(text), ReferenceParse(text)));
    }
}

// Values as the files hold them: coordinates, ties of the rounding (exact binary fractions),
// and any magnitude a project file can carry, below 1 and beyond 2^64 included.
Extended RandomValue(std::mt19937_64& random)
{
    const std::uint64_t choice = random();
    const Extended sign = choice % 2 == 0 ? 1 : -1;
    switch ((choice >> 1) % 4) {
    case 0: {
        const std::uint64_t mantissa = random() | (std::uint64_t{1} << 63);
        return sign * std::ldexp(static_cast<Extended>(mantissa), static_cast<int>((choice >> 3) % 140) - 134);
    }
    case 1:
        return sign * static_cast<Extended>(random() % 180000001) / 1000000;
    case 2:
        return sign * std::ldexp(static_cast<Extended>(random() % (std::uint64_t{1} << 40)),
                                 -static_cast<int>((choice >> 3) % 33));
    default:
        return sign * (static_cast<Extended>(random() % 181)
                       + static_cast<Extended>(random() >> 11) * 0x1p-53L);
    }
}

TEST(NumberSpeedPathTest, RandomValuesFormatAsTheReferenceAndReadBack)
{
    std::mt19937_64 random(7122026);
    for (int n = 0; n < RandomCount / 3; ++n) {
        const Extended value = RandomValue(random);
        for (const int decimals : {6, 2}) {
            const std::string text = FixedText(value, decimals);
            ASSERT_EQ(text, ReferenceFixedText(value, decimals)) << std::to_string(static_cast<double>(value));
            ASSERT_TRUE(SameValue(text, ParseDecimal(text), ReferenceParse(text)));
        }
        const std::string general = CoordinateText(value);
        ASSERT_EQ(general, ReferenceCoordinateText(value)) << std::to_string(static_cast<double>(value));
        ASSERT_TRUE(SameValue(general, ParseDecimal(general), ReferenceParse(general)));
    }
}

TEST(NumberSpeedPathTest, EdgesOfTheQuickPaths)
{
    // Nineteen and twenty digits, exponents at and past 27, ties and carries into a new digit.
    const char* texts[] = {
        "9999999999999999999", "18446744073709551615", "18446744073709551616", "1e27", "1e28",
        "1e-27", "1e-28", "-9999999999999999999e27", "9999999999999999999e-27", "0.000000000000000000001",
        "00000000000000000000000001", "-0", "-0.0e-99", "0e99999", "1.5e-0", "123456789012345678.9",
    };
    for (const char* text : texts)
        EXPECT_TRUE(SameValue(text, ParseDecimal(text), ReferenceParse(text)));

    const Extended values[] = {
        1, -1, 9.9999995L, 99999999999999999.95L, 0x1p63L, 0x1p64L - 1, 9999999999999999999.0L,
        1e19L, 45.5078125L, -45.5078125L, 0.9999995L, 1.0000005L, 123456789012.0000005L, 1e17L,
        999999999999.9999995L,
    };
    for (const Extended value : values) {
        for (const int decimals : {0, 2, 6, 16, 17})
            EXPECT_EQ(FixedText(value, decimals), ReferenceFixedText(value, decimals))
                << std::to_string(static_cast<double>(value)) << " " << decimals;
        EXPECT_EQ(CoordinateText(value), ReferenceCoordinateText(value));
    }
}

// The short run of the comparison that the benchmarks make over 100 million values.
TEST(NumberSpeedPathTest, QuickPathsGiveWhatTheGeneralConversionsGive)
{
    const numbercheck::Tally reading = numbercheck::CompareReading(16122026, RandomCount / 10);
    EXPECT_EQ(reading.DifferenceCount, 0u) << numbercheck::Describe(reading, "reading");
    const numbercheck::Tally writing = numbercheck::CompareWriting(16122026, RandomCount / 10);
    EXPECT_EQ(writing.DifferenceCount, 0u) << numbercheck::Describe(writing, "writing");
    // Every kind of input came up, and the quick paths took part.
    for (const numbercheck::Tally* tally : {&reading, &writing}) {
        EXPECT_GT(tally->Quick, tally->Compared / 4);
        for (const numbercheck::Kind& kind : tally->Kinds)
            EXPECT_GT(kind.Compared, 0u) << kind.Name;
    }
}

TEST(NumberSpeedPathTest, PaddedIntegerAppendsToALine)
{
    // Every four-digit group in both halves of eight digits, and the edges of eight digits.
    for (std::int64_t group = 0; group < 10000; ++group) {
        for (const std::int64_t value : {group * 10000 + group, group, 99999999 - group, 100000000 + group}) {
            ASSERT_EQ(PaddedInteger(value, 1), std::to_string(value));
            ASSERT_EQ(PaddedInteger(-value, 8), (value > 0 ? "-" : "")
                      + std::string(static_cast<std::size_t>(std::max(0, 8 - static_cast<int>(std::to_string(value).size()))), '0')
                      + std::to_string(value));
        }
    }

    const struct { std::int64_t value; int minDigits; const char* expected; } cases[] = {
        {0, 1, "0"}, {7, 3, "007"}, {-7, 3, "-007"}, {1000, 3, "1000"}, {99, 2, "99"},
        {INT64_MIN, 1, "-9223372036854775808"}, {INT64_MAX, 20, "09223372036854775807"},
    };
    for (const auto& c : cases) {
        std::string line = "12;";
        AppendPaddedInteger(line, c.value, c.minDigits);
        EXPECT_EQ(line, std::string("12;") + c.expected);
        EXPECT_EQ(PaddedInteger(c.value, c.minDigits), c.expected);
    }
    std::string line = "x";
    AppendFixedText(line, -28.125L, 2);
    EXPECT_EQ(line, "x-28.13");
}

} // namespace
} // namespace uzuviv
