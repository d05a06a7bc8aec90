#include <gtest/gtest.h>

#include <string>

#include "files/Cp1252.h"

namespace uzuviv {
namespace {

std::string AllBytes()
{
    std::string bytes;
    for (int b = 0; b < 256; ++b)
        bytes.push_back(static_cast<char>(b));
    return bytes;
}

TEST(Cp1252, EveryByteRoundTripsThroughUtf8)
{
    const std::string bytes = AllBytes();
    const std::string utf8 = Cp1252ToUtf8(bytes);
    EXPECT_TRUE(FitsCp1252(std::string_view(utf8)));
    EXPECT_EQ(Utf8ToCp1252(utf8), bytes);
    for (int b = 0; b < 256; ++b) {
        const std::string one(1, static_cast<char>(b));
        EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(one)), one) << "byte " << b;
    }
}

TEST(Cp1252, DecodesToTheCodePageCharacters)
{
    const struct {
        unsigned char byte;
        std::string utf8;
    } cases[] = {
        {'A', "A"},
        {0x00, std::string(1, '\0')},
        {0x80, "\xE2\x82\xAC"},   // euro sign
        {0x81, "\xC2\x81"},       // undefined: the C1 control of the same value
        {0x8D, "\xC2\x8D"},
        {0x8F, "\xC2\x8F"},
        {0x90, "\xC2\x90"},
        {0x9D, "\xC2\x9D"},
        {0x85, "\xE2\x80\xA6"},   // ellipsis
        {0x8C, "\xC5\x92"},       // OE ligature
        {0x99, "\xE2\x84\xA2"},   // trade mark
        {0x9F, "\xC5\xB8"},       // Y diaeresis
        {0xA0, "\xC2\xA0"},
        {0xB0, "\xC2\xB0"},       // degree sign
        {0xE9, "\xC3\xA9"},       // e acute
        {0xFF, "\xC3\xBF"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Cp1252ToUtf8(std::string(1, static_cast<char>(c.byte))), c.utf8)
            << "byte " << int(c.byte);
    }
    EXPECT_EQ(Cp1252ToUtf8("Caf\xE9 \x80" "5"), "Caf\xC3\xA9 \xE2\x82\xAC" "5");
}

TEST(Cp1252, UnmappableOrInvalidUtf8BecomesQuestionMarks)
{
    const struct {
        std::string utf8;
        std::string bytes;
        bool fits;
    } cases[] = {
        {"Gate", "Gate", true},
        {"", "", true},
        {"\xC3\xA9t\xC3\xA9", "\xE9t\xE9", true},
        {"\xE2\x86\x92", "?", false},                 // arrow: not in the code page
        {"\xC2\x80", "?", false},                     // C1 control the code page does not hold
        {"\xF0\x9F\x98\x80!", "?!", false},           // emoji
        {"a\xFF" "b", "a?b", false},                  // invalid byte
        {"\xC3", "?", false},                         // truncated sequence
        {"\xC0\x80", "??", false},                    // overlong NUL
        {"\xED\xA0\x80", "???", false},               // surrogate
        {"\xE2\x82" "x", "??x", false},               // broken sequence
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Utf8ToCp1252(c.utf8), c.bytes) << c.utf8;
        EXPECT_EQ(FitsCp1252(std::string_view(c.utf8)), c.fits) << c.utf8;
    }
}

TEST(Cp1252, FitsSingleCharacters)
{
    EXPECT_TRUE(FitsCp1252(U'a'));
    EXPECT_TRUE(FitsCp1252(U'\u00FF'));
    EXPECT_TRUE(FitsCp1252(U'\u20AC'));
    EXPECT_TRUE(FitsCp1252(U'\u0178'));
    EXPECT_TRUE(FitsCp1252(U'\u009D'));
    EXPECT_FALSE(FitsCp1252(U'\u0080'));
    EXPECT_FALSE(FitsCp1252(U'\u0100'));
    EXPECT_FALSE(FitsCp1252(U'\u2192'));
    EXPECT_FALSE(FitsCp1252(U'\U0001F600'));
}

} // namespace
} // namespace uzuviv
