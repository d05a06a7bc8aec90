#include <gtest/gtest.h>

#include <charconv>
#include <cstdint>
#include <cmath>
#include <limits>
#include <random>
#include <string>

#include "model/NumberText.h"
#include "model/RoundTripText.h"

namespace uzuviv {
namespace {

TEST(RoundTripText, FewestDigitsInPlainDecimal)
{
    const struct {
        Extended value;
        const char* text;
    } cases[] = {
        {48.8566L, "48.8566"}, {-12.3456789L, "-12.3456789"}, {180, "180"}, {-90, "-90"},
        {0, "0"}, {-0.0L, "0"}, {0.00005L, "0.00005"}, {-0.0000125L, "-0.0000125"},
        {0.1L, "0.1"}, {1.0L / 3, "0.33333333333333333334"}, {179.999999999999L, "179.999999999999"},
        {1e-20L, "0.00000000000000000001"}, {123456789012345678.0L, "123456789012345678"},
        {std::numeric_limits<Extended>::quiet_NaN(), "NAN"},
        {-std::numeric_limits<Extended>::infinity(), "-INF"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RoundTripText(c.value), c.text);
}

// Any bit pattern: the text has no exponent, reads back exactly, and one decimal fewer (the
// nearest such text) would not.
TEST(RoundTripText, EveryValueReadsBackAndNoShorterTextWould)
{
    std::mt19937_64 random(20261208);
    for (int i = 0; i < 20000; ++i) {
        // Six-decimal coordinates, and full 64-bit mantissas from 2^-40 to 2^8 of either sign.
        const Extended sixDecimals = static_cast<Extended>(static_cast<std::int64_t>(random() % 360000000) - 180000000) / 1000000;
        const Extended fullMantissa = std::ldexp(static_cast<Extended>(random() | (std::uint64_t{1} << 63)),
                                                 static_cast<int>(random() % 48) - 104) * (random() % 2 ? 1 : -1);
        const Extended value = i % 2 ? sixDecimals : fullMantissa;
        const std::string text = RoundTripText(value);
        ASSERT_EQ(text.find_first_of("eE"), std::string::npos) << text;
        ASSERT_EQ(ParseDecimal(text), value) << text;
        const std::size_t point = text.find('.');
        if (point == std::string::npos)
            continue;
        const int decimals = static_cast<int>(text.size() - point - 1);
        char shorter[128];
        const auto end = std::to_chars(shorter, shorter + sizeof shorter, value, std::chars_format::fixed, decimals - 1).ptr;
        ASSERT_NE(ParseDecimal(std::string(shorter, end)), value) << text;
    }
}

} // namespace
} // namespace uzuviv
