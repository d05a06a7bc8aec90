#include "model/CoordinateFormats.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "model/NumberText.h"
#include "text/text.h"

namespace uzuviv {
namespace {

enum class Axis { Latitude, Longitude };

std::string Format(Axis axis, Extended value, int mode)
{
    return axis == Axis::Latitude ? FormatLatitude(value, mode) : FormatLongitude(value, mode);
}

TEST(FormatCoordinateTest, EdgeTableInEveryMode)
{
    const struct {
        Extended value;
        Axis axis;
        const char* texts[4];
    } cases[] = {
        {45.5L, Axis::Latitude,
         {"45.500000", "45\xC2\xB0 30.000000' N", "45\xC2\xB0 30' 0.00\" N", "45\xC2\xB0 30' 0\" N"}},
        {-0.5L, Axis::Latitude,
         {"-0.500000", "0\xC2\xB0 30.000000' S", "0\xC2\xB0 30' 0.00\" S", "0\xC2\xB0 30' 0\" S"}},
        {-122.25L, Axis::Longitude,
         {"-122.250000", "122\xC2\xB0 15.000000' W", "122\xC2\xB0 15' 0.00\" W", "122\xC2\xB0 15' 0\" W"}},
        {45.5078125L, Axis::Latitude,
         {"45.507813", "45\xC2\xB0 30.468750' N", "45\xC2\xB0 30' 28.13\" N", "45\xC2\xB0 30' 28\" N"}},
        {0.0L, Axis::Longitude,
         {"0.000000", "0\xC2\xB0 0.000000' E", "0\xC2\xB0 0' 0.00\" E", "0\xC2\xB0 0' 0\" E"}},
        {-0.0L, Axis::Latitude,
         {"0.000000", "0\xC2\xB0 0.000000' N", "0\xC2\xB0 0' 0.00\" N", "0\xC2\xB0 0' 0\" N"}},
        {-0.0000001L, Axis::Longitude,
         {"0.000000", "0\xC2\xB0 0.000006' W", "0\xC2\xB0 0' 0.00\" W", "0\xC2\xB0 0' 0\" W"}},
        {-179.999999L, Axis::Longitude,
         {"-179.999999", "179\xC2\xB0 59.999940' W", "179\xC2\xB0 59' 60.00\" W", "179\xC2\xB0 59' 59\" W"}},
        {90.0L, Axis::Latitude,
         {"90.000000", "90\xC2\xB0 0.000000' N", "90\xC2\xB0 0' 0.00\" N", "90\xC2\xB0 0' 0\" N"}},
    };
    for (const auto& c : cases)
        for (int mode = 1; mode <= 4; ++mode)
            EXPECT_EQ(Format(c.axis, c.value, mode), c.texts[mode - 1])
                << static_cast<double>(c.value) << " mode " << mode;
}

TEST(FormatCoordinateTest, UnknownModesBehaveAsDecimalDegrees)
{
    for (const int mode : {0, 5, 255, -1})
        EXPECT_EQ(FormatLongitude(-122.25L, mode), "-122.250000") << mode;
}

TEST(FormatCoordinateTest, RoundingNeverCarriesIntoTheNextUnit)
{
    // Minutes a hair below 60 print as 60 and the degrees stay; likewise seconds.
    const Extended minutesNearSixty = 10 + 59.9999997L / 60;
    EXPECT_EQ(FormatLatitude(minutesNearSixty, 2), "10\xC2\xB0 60.000000' N");
    const Extended secondsNearSixty = 10 + 30.0L / 60 + 59.996L / 3600;
    EXPECT_EQ(FormatLatitude(secondsNearSixty, 3), "10\xC2\xB0 30' 60.00\" N");
    EXPECT_EQ(FormatLatitude(secondsNearSixty, 4), "10\xC2\xB0 30' 59\" N");
    EXPECT_EQ(FormatLongitude(-secondsNearSixty, 3), "10\xC2\xB0 30' 60.00\" W");
}

TEST(FormatCoordinateTest, AnyStoredNumberFormatsWithoutFault)
{
    // A file can hold any number; the splits must stay defined.
    EXPECT_EQ(FormatLatitude(1e30L, 4).rfind("9223372036854775807\xC2\xB0 ", 0), 0u);
    EXPECT_EQ(FormatLongitude(-1e30L, 2).rfind("9223372036854775807\xC2\xB0 ", 0), 0u);
    const Extended nan = std::numeric_limits<Extended>::quiet_NaN();
    EXPECT_EQ(DegreesToDMS(nan).Degrees, 0);
    EXPECT_EQ(FormatLatitude(nan, 1), "NAN");
    EXPECT_EQ(CoordinateText(-std::numeric_limits<Extended>::infinity()), "-INF");
}

TEST(SplitJoinTest, TruncatesAndNeverNormalises)
{
    const DMSValue dms = DegreesToDMS(45.764043L);
    EXPECT_EQ(dms.Degrees, 45);
    EXPECT_EQ(dms.Minutes, 45);
    EXPECT_EQ(dms.Seconds, 50);
    const DMSdValue dmsd = DegreesToDMSd(45.764043L);
    EXPECT_EQ(dmsd.Degrees, 45);
    EXPECT_EQ(dmsd.Minutes, 45);
    EXPECT_NEAR(static_cast<double>(dmsd.Seconds), 50.5548, 1e-9);

    const DMValue dm = DegreesToDM(-0.5L);
    EXPECT_EQ(dm.Degrees, 0);
    EXPECT_EQ(dm.Minutes, 30.0L);
    const DMSValue west = DegreesToDMS(-122.25L);
    EXPECT_EQ(west.Degrees, 122);
    EXPECT_EQ(west.Minutes, 15);
    EXPECT_EQ(west.Seconds, 0);

    // A hair below a whole minute: 59 seconds, never 60 or one more minute.
    const DMSValue hair = DegreesToDMS(10 + (1 - 1e-12L) / 60);
    EXPECT_EQ(hair.Degrees, 10);
    EXPECT_EQ(hair.Minutes, 0);
    EXPECT_EQ(hair.Seconds, 59);

    EXPECT_EQ(DMSToDegrees(false, 45, 30, 0), 45.5L);
    EXPECT_EQ(DMToDegrees(true, 0, 30.0L), -0.5L);
    EXPECT_EQ(DMSToDegrees(false, 45, 60, 0), 46.0L);
    EXPECT_EQ(DMSToDegrees(true, 0, 0, 60), -1.0L / 60);
    EXPECT_EQ(DMSdToDegrees(false, 45, 30, 28.125L), 45.5078125L);
    // Magnitudes in, the flag alone decides the sign.
    EXPECT_EQ(DMToDegrees(false, -12, -30.0L), 12.5L);
    EXPECT_EQ(DMSToDegrees(true, std::numeric_limits<std::int64_t>::min(), 0, 0), -0x1p63L);
}

TEST(FilterCoordinateTextTest, KeepsOnlyTheEnabledClasses)
{
    const struct {
        const char* text;
        bool digits, signs, decimalMarks, northSouth, eastWest;
        const char* expected;
    } cases[] = {
        {"N 45\xC2\xB0" "30,5'", true, true, true, true, true, "4530.5"},
        {"S12.5", true, true, true, true, true, "-12.5"},
        {"W 0.1276", true, true, true, true, true, "-0.1276"},
        {"45.5S", true, true, true, true, true, "45.5-"},
        {"e12,5 n", true, true, true, true, true, "12.5"},
        {"12,5 min", true, false, true, false, false, "12.5"},
        {"12.5", true, false, false, false, false, "125"},
        {"-12+3", true, false, false, false, false, "123"},
        {"-12+3", true, true, false, false, false, "-12+3"},
        {"S45 W3", true, false, false, true, false, "-453"},
        {"S45 W3", true, false, false, false, true, "45-3"},
        {"0x1F X", true, true, true, true, true, "01"},
        {"\xC2\xB0\xE2\x80\xB2 \"'", true, true, true, true, true, ""},
        {"", true, true, true, true, true, ""},
        {"45", false, false, false, false, false, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FilterCoordinateText(c.text, c.digits, c.signs, c.decimalMarks, c.northSouth,
                                       c.eastWest),
                  c.expected)
            << c.text;
}

TEST(CoordinateTextTest, FifteenSignificantDigitsInGeneralForm)
{
    const struct { Extended value; const char* expected; } cases[] = {
        {45.0L, "45"},
        {-0.5L, "-0.5"},
        {45.764043L, "45.764043"},
        {0.0L, "0"},
        {-0.0L, "0"},
        {0.1L, "0.1"},
        {-122.25L, "-122.25"},
        {0.0001L, "0.0001"},
        {0.00012345L, "0.00012345"},
        {0.00005L, "5E-5"},
        {0.00000125L, "1.25E-6"},
        {-0.00005L, "-5E-5"},
        {0.000099999999999999999L, "0.0001"},
        {1.0L / 3, "0.333333333333333"},
        {2.0L / 3, "0.666666666666667"},
        {-2.0L / 3, "-0.666666666666667"},
        {45.12345678901234L, "45.1234567890123"},
        {123456789.123456789L, "123456789.123457"},
        {1.000000000000005L, "1.00000000000001"},
        {-1.000000000000005L, "-1.00000000000001"},
        {999999999999999.0L, "999999999999999"},
        {9999999999999999.0L, "1E16"},
        {1e15L, "1E15"},
        {1.5e20L, "1.5E20"},
        {100000.0L, "100000"},
        {1e-20L, "1E-20"},
        {std::numeric_limits<Extended>::denorm_min(), "3.64519953188247E-4951"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CoordinateText(c.value), c.expected) << static_cast<double>(c.value);
}

// The reference: printf's correctly rounded 15 digits, read back. Values whose 18-digit
// expansion ends in an exact "500" are ties the program rounds away from zero by design,
// where printf may round the other way; they are left out.
bool ReferenceRounded(Extended value, Extended& rounded)
{
    char eighteen[64];
    std::snprintf(eighteen, sizeof eighteen, "%.17Le", value);
    const char* exponent = std::strchr(eighteen, 'e');
    if (exponent == nullptr || std::strncmp(exponent - 3, "500", 3) == 0)
        return false;
    char fifteen[64];
    std::snprintf(fifteen, sizeof fifteen, "%.14Le", value);
    rounded = std::strtold(fifteen, nullptr);
    return true;
}

TEST(CoordinateTextTest, RoundTripsThroughTheDecimalConversion)
{
    std::mt19937_64 generator(20240611);
    std::uniform_real_distribution<double> mantissa(-1.0, 1.0);
    std::uniform_int_distribution<int> scale(-12, 22);
    std::uniform_int_distribution<std::uint64_t> noise(0, 2047);
    int checked = 0;
    for (int i = 0; i < 20000; ++i) {
        // Full 64-bit mantissas: a double plus low bits only a long double holds.
        Extended value = static_cast<Extended>(mantissa(generator)) * std::pow(10.0L, scale(generator));
        value += value * static_cast<Extended>(noise(generator)) * 0x1p-64L;
        Extended expected = 0;
        if (!ReferenceRounded(value, expected))
            continue;
        ++checked;
        const std::string text = CoordinateText(value);
        ASSERT_EQ(ParseDecimal(text), expected) << text;
        ASSERT_EQ(CoordinateText(ParseDecimal(text)), text);
    }
    EXPECT_GT(checked, 19000);
}

class ListRowTest : public ::testing::Test {
protected:
    void SetUp() override { saved_ = LanguageIndex; }
    void TearDown() override { LanguageIndex = saved_; }

private:
    std::uint8_t saved_ = 2;
};

TEST_F(ListRowTest, SevenTextsOfARow)
{
    LanguageIndex = 2;
    TGPSRecord record;
    record.Latitude = 45.5078125L;
    record.Longitude = -122.25L;
    record.Tolerance = 5;
    record.FileRef = 12;
    record.Mode = 3;
    record.Comments = "Gate ; north";
    const ListRowTexts expected = {"001", "45.507813", "-122.250000", "005", "Free Tour", "012",
                                   "Gate ; north"};
    EXPECT_EQ(ListRow(record, 0, 1), expected);
    for (int column = 0; column < 7; ++column)
        EXPECT_EQ(ListCell(record, 0, 1, column), expected[static_cast<std::size_t>(column)]);
    EXPECT_EQ(ListCell(record, 0, 1, 7), "");

    record.Tolerance = 1000;
    record.FileRef = 65535;
    const ListRowTexts dms = ListRow(record, 999, 4);
    EXPECT_EQ(dms[0], "1000");
    EXPECT_EQ(dms[1], "45\xC2\xB0 30' 28\" N");
    EXPECT_EQ(dms[2], "122\xC2\xB0 15' 0\" W");
    EXPECT_EQ(dms[3], "1000");
    EXPECT_EQ(dms[5], "65535");
}

TEST_F(ListRowTest, ModeNamesFollowTheLanguage)
{
    const struct { std::uint8_t language; int mode; const char* expected; } cases[] = {
        {2, 1, "Track"},     {2, 2, "Alarm"},  {2, 3, "Free Tour"},
        {2, 0, "Track"},     {2, 4, "Track"},  {2, 255, "Track"},
        {1, 1, "Circuit"},   {1, 2, "Alarme"}, {1, 3, "Parcours libre"},
        {4, 3, "Free Tour"},
    };
    for (const auto& c : cases) {
        LanguageIndex = c.language;
        EXPECT_EQ(ModeName(c.mode), c.expected) << int(c.language) << " " << c.mode;
        TGPSRecord record;
        record.Mode = static_cast<std::uint8_t>(c.mode);
        EXPECT_EQ(ListCell(record, 0, 1, 4), c.expected);
    }
}

} // namespace
} // namespace uzuviv
