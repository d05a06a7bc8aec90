#include "model/NumberText.h"

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace uzuviv {
namespace {

std::string DecimalMessage(const std::string& text)
{
    return "'" + text + "' n'est pas une valeur en virgule flottante correcte";
}

std::string IntegerMessage(const std::string& text)
{
    return "'" + text + "' n'est pas une valeur enti\xC3\xA8re correcte";
}

TEST(ParseDecimalTest, AcceptsTheDecimalForms)
{
    const struct { const char* text; Extended expected; } cases[] = {
        {"45.5", 45.5L},
        {"  -12.25  ", -12.25L},
        {"\t+3\t", 3.0L},
        {"5.", 5.0L},
        {".5", 0.5L},
        {".", 0.0L},
        {"-.", 0.0L},
        {"0", 0.0L},
        {"1e3", 1000.0L},
        {"1.5E-2", 1.5E-2L},
        {"2.5e+1", 25.0L},
        {"007", 7.0L},
        // Correctly rounded to the 64-bit mantissa, not through double.
        {"0.1", 0.1L},
        {"45.764043", 45.764043L},
        {"-122.123456789012345678", -122.123456789012345678L},
        {"1e-5000", 0.0L},
        {"1.18973149535723176502e+4932", 1.18973149535723176502e+4932L},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseDecimal(c.text), c.expected) << c.text;
    const Extended denormal = ParseDecimal("1e-4940");
    EXPECT_GT(denormal, 0.0L);
    EXPECT_LT(denormal, std::numeric_limits<Extended>::min());
}

TEST(ParseDecimalTest, RejectsOtherTextsWithTheRuntimeMessage)
{
    const char* texts[] = {
        "", " ", "+", "-", "1.2.3", "45,5", "1e", "1e+", "e5", ".e", "0x10", "inf", "nan",
        "12 3", "1.5 x", "--1", "+-1", "1 e3", "45.5N", "1e99999", "-1e5000", "\xC2\xB0",
    };
    for (const char* text : texts) {
        try {
            ParseDecimal(text);
            ADD_FAILURE() << "accepted '" << text << "'";
        } catch (const ConversionError& error) {
            EXPECT_EQ(error.what(), DecimalMessage(text));
        }
    }
}

TEST(ParseIntegerTest, AcceptsDecimalAndHexadecimalForms)
{
    const struct { const char* text; std::int32_t expected; } cases[] = {
        {"0", 0},
        {"42", 42},
        {"  -17", -17},
        {"\t+5", 5},
        {"007", 7},
        {"-0", 0},
        {"2147483647", 2147483647},
        {"-2147483648", std::numeric_limits<std::int32_t>::min()},
        {"00000000002147483647", 2147483647},
        {"$7FFFFFFF", 2147483647},
        {"$ff", 255},
        {"x1f", 31},
        {"X1F", 31},
        {"0x10", 16},
        {"0X10", 16},
        {"-$10", -16},
        {"-$80000000", std::numeric_limits<std::int32_t>::min()},
        {"-0x80000000", std::numeric_limits<std::int32_t>::min()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseInteger(c.text), c.expected) << c.text;
}

TEST(ParseIntegerTest, RejectsOtherTextsWithTheRuntimeMessage)
{
    const char* texts[] = {
        "", "  ", "+", "-", "12 ", "1 2", "1.5", "1e3", "12a", "0x", "$", "x", "0x-5", "- 5",
        "--5", "2147483648", "-2147483649", "99999999999999999999", "0x80000000",
        "$80000000", "$FFFFFFFF", "0x1G", "00x1",
    };
    for (const char* text : texts) {
        try {
            ParseInteger(text);
            ADD_FAILURE() << "accepted '" << text << "'";
        } catch (const ConversionError& error) {
            EXPECT_EQ(error.what(), IntegerMessage(text));
        }
    }
}

// The digits as the C library's exact printf gives them: "d" + 17 digits, trailing zeros
// dropped, and the power of ten of the first digit.
std::string PrintfDigits(Extended value, int& exponent)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.17Le", std::fabs(value));
    std::string digits;
    const char* p = buffer;
    for (; *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9')
            digits += *p;
    exponent = std::atoi(p + 1);
    while (!digits.empty() && digits.back() == '0')
        digits.pop_back();
    return digits;
}

TEST(ExpandDecimalTest, MatchesTheCorrectlyRoundedEighteenDigits)
{
    std::vector<Extended> values = {
        45.5078125L, -0.1L, 1.0L / 3, 0x1p64L, 0x1p64L - 1, 0x1p63L, 0x1p-57L, 0x1p-58L,
        0x1p-120L, 1e-300L, 1e300L, 1.18973149535723176502e+4932L,
        std::numeric_limits<Extended>::denorm_min(), 999999999999999999.5L,
        // Exact ties at the nineteenth digit round to even.
        123456789012345678.5L, 123456789012345677.5L, 0.5L + 0x1p-60L, 99999999999999999.95L,
    };
    std::mt19937_64 generator(7);
    std::uniform_int_distribution<std::uint64_t> bits;
    std::uniform_int_distribution<int> binaryExponent(-140, 80);
    for (int i = 0; i < 20000; ++i) {
        const std::uint64_t mantissa = bits(generator) | (std::uint64_t{1} << 63);
        values.push_back(std::ldexp(static_cast<Extended>(mantissa), binaryExponent(generator) - 64)
                         * (i % 2 == 0 ? 1 : -1));
    }
    for (const Extended value : values) {
        const DecimalExpansion expansion = ExpandDecimal(value);
        int exponent = 0;
        const std::string expected = PrintfDigits(value, exponent);
        ASSERT_EQ(std::string(expansion.Digits.data(), static_cast<std::size_t>(expansion.Count)),
                  expected)
            << static_cast<double>(value);
        ASSERT_EQ(expansion.Exponent, exponent) << static_cast<double>(value);
        ASSERT_EQ(expansion.Negative, value < 0);
    }
}

TEST(FixedTextTest, RoundsTheEighteenDigitExpansionHalfAwayFromZero)
{
    const struct { Extended value; int decimals; const char* expected; } cases[] = {
        {28.125L, 2, "28.13"},
        {-28.125L, 2, "-28.13"},
        {45.5078125L, 6, "45.507813"},
        {12.3456789L, 6, "12.345679"},
        {0.995L, 2, "1.00"},
        {2.675L, 2, "2.68"},
        {9.9999995L, 6, "10.000000"},
        {59.995L, 2, "60.00"},
        {-0.0000005L, 6, "-0.000001"},
        {0.5L, 0, "1"},
        {-0.5L, 0, "-1"},
        {0.49L, 0, "0"},
        {123.456L, 0, "123"},
        {45.5L, 6, "45.500000"},
        {0.000001L, 6, "0.000001"},
        {0.0000004L, 6, "0.000000"},
        // No sign on a value that is zero at the printed decimals.
        {-0.0000001L, 6, "0.000000"},
        {-0.0L, 6, "0.000000"},
        {0.0L, 6, "0.000000"},
        {-0.004L, 2, "0.00"},
        // Large magnitudes keep every integer digit.
        {1e20L, 6, "100000000000000000000.000000"},
        {1.23456789012345678901e25L, 2, "12345678901234567900000000.00"},
        {-999999999999999999.9L, 0, "-1000000000000000000"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FixedText(c.value, c.decimals), c.expected) << static_cast<double>(c.value);
}

TEST(FixedTextTest, IgnoresACommaLocale)
{
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous != nullptr ? previous : "C";
    const char* commaLocales[] = {"de_DE.UTF-8", "fr_FR.UTF-8", "de_DE.utf8", "fr_FR.utf8"};
    bool switched = false;
    for (const char* name : commaLocales)
        if (std::setlocale(LC_NUMERIC, name) != nullptr) {
            switched = true;
            break;
        }
    if (!switched)
        GTEST_SKIP() << "no locale with a decimal comma installed";
    const std::string fixed = FixedText(45.5078125L, 6);
    Extended parsed = 0;
    bool parseFailed = false;
    try {
        parsed = ParseDecimal("1.5");
    } catch (const ConversionError&) {
        parseFailed = true;
    }
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ(fixed, "45.507813");
    EXPECT_FALSE(parseFailed);
    EXPECT_EQ(parsed, 1.5L);
}

TEST(PaddedIntegerTest, PadsLikePercentPointThreeD)
{
    const struct { std::int64_t value; int minDigits; const char* expected; } cases[] = {
        {7, 3, "007"},
        {0, 3, "000"},
        {1000, 3, "1000"},
        {65535, 3, "65535"},
        {-7, 3, "-007"},
        {-1234, 3, "-1234"},
        {5, 1, "5"},
        {std::numeric_limits<std::int64_t>::min(), 3, "-9223372036854775808"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PaddedInteger(c.value, c.minDigits), c.expected) << c.value;
}

} // namespace
} // namespace uzuviv

namespace uzuviv {
namespace {

// Found by fuzzing: the six-decimal text of the largest value rounds above it, and the GPS file
// holding it could not be imported again.
TEST(ParseDecimalTest, TheLargestValueReadsBackFromItsFixedText)
{
    constexpr Extended largest = std::numeric_limits<Extended>::max();
    for (const Extended value : {largest, -largest}) {
        EXPECT_EQ(ParseDecimal(FixedText(value, 6)), value);
        EXPECT_EQ(ParseDecimal(FixedText(value, 2)), value);
    }
    EXPECT_EQ(ParseDecimal("1.18973149535723177e4932"), largest);
    for (const char* beyond : {"1.1897314953572318e4932", "1.2e4932", "-2e4932", "1e99999"})
        EXPECT_THROW(ParseDecimal(beyond), ConversionError) << beyond;
}

} // namespace
} // namespace uzuviv
