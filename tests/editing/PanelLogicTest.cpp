#include "editing/PanelLogic.h"

#include <gtest/gtest.h>

#include "model/CoordinateFormats.h"

namespace uzuviv {
namespace {

TGPSRecord Point(Extended latitude, Extended longitude)
{
    TGPSRecord record;
    record.Latitude = latitude;
    record.Longitude = longitude;
    record.Tolerance = 10;
    record.FileRef = 5;
    return record;
}

TEST(PanelLogicTest, LoadShowsThePointInEachMode)
{
    TGPSRecord record = Point(45.764043L, -4.835659L);
    record.Mode = 7;  // outside 1..3: Track
    record.Comments = "Gare";
    struct Case {
        int mode;
        const char *deg, *min, *sec, *hemi, *lonDeg, *lonHemi;
    };
    const Case cases[] = {
        {1, "45", "45", "50.5548", "N", "4", "W"},
        {2, "45", "45.84258", "", "N", "4", "W"},
        {4, "45", "45", "50", "N", "4", "W"},
        {9, "45", "45", "50.5548", "N", "4", "W"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        const PanelTexts texts = LoadPanel(record, c.mode);
        EXPECT_EQ(texts[PanelBox::LatitudeDecimal], "45.764043");
        EXPECT_EQ(texts[PanelBox::LongitudeDecimal], "-4.835659");
        EXPECT_EQ(texts[PanelBox::LatitudeDegrees], c.deg);
        EXPECT_EQ(texts[PanelBox::LatitudeMinutes].substr(0, std::string(c.min).size()), c.min);
        EXPECT_EQ(texts[PanelBox::LatitudeSeconds].substr(0, std::string(c.sec).size()), c.sec);
        EXPECT_EQ(texts[PanelBox::LatitudeHemisphere], c.hemi);
        EXPECT_EQ(texts[PanelBox::LongitudeDegrees], c.lonDeg);
        EXPECT_EQ(texts[PanelBox::LongitudeHemisphere], c.lonHemi);
        EXPECT_EQ(texts[PanelBox::Tolerance], "10");
        EXPECT_EQ(texts[PanelBox::FileRef], "5");
        EXPECT_EQ(texts[PanelBox::Comments], "Gare");
        EXPECT_EQ(texts.CheckedMode, 1);
    }
}

TEST(PanelLogicTest, StoreChecksEachFieldAndNamesTheLastFailure)
{
    struct Case {
        const char* name;
        int mode;
        std::vector<std::pair<PanelBox, const char*>> typed;
        PanelError error;
        Extended latitude, longitude;
        int tolerance, fileRef;
    };
    const Extended lat0 = 10, lon0 = 20;  // the stored point
    using B = PanelBox;
    const Case cases[] = {
        {"decimal latitude 90 and longitude -180", 1,
         {{B::LatitudeDecimal, "90"}, {B::LongitudeDecimal, "-180"}}, PanelError::None, 90, -180, 10, 5},
        {"latitude 91 refused", 1, {{B::LatitudeDecimal, "91"}}, PanelError::Latitude, lat0, lon0, 10, 5},
        {"filtered decimal text", 1, {{B::LatitudeDecimal, "S 12,5"}, {B::LongitudeDecimal, "W0.25"}},
         PanelError::None, -12.5L, -0.25L, 10, 5},
        {"mode 2 south zero degrees", 2,
         {{B::LatitudeHemisphere, "S"}, {B::LatitudeDegrees, "0"}, {B::LatitudeMinutes, "30"}},
         PanelError::None, -0.5L, lon0, 10, 5},
        {"S with -45 does not convert", 3,
         {{B::LatitudeHemisphere, "S"}, {B::LatitudeDegrees, "-45"}, {B::LatitudeMinutes, "0"},
          {B::LatitudeSeconds, "0"}},
         PanelError::Latitude, lat0, lon0, 10, 5},
        {"N with -45 gives -45", 3,
         {{B::LatitudeHemisphere, "N"}, {B::LatitudeDegrees, "-45"}, {B::LatitudeMinutes, "0"},
          {B::LatitudeSeconds, "0"}},
         PanelError::None, -45, lon0, 10, 5},
        {"60 minutes count as a degree", 3,
         {{B::LatitudeDegrees, "45"}, {B::LatitudeMinutes, "60"}, {B::LatitudeSeconds, "0"}},
         PanelError::None, 46, lon0, 10, 5},
        {"seconds 60.01 refused", 3,
         {{B::LatitudeDegrees, "45"}, {B::LatitudeMinutes, "0"}, {B::LatitudeSeconds, "60.01"}},
         PanelError::Latitude, lat0, lon0, 10, 5},
        {"a decimal point in whole minutes", 3,
         {{B::LatitudeDegrees, "45"}, {B::LatitudeMinutes, "12.5"}, {B::LatitudeSeconds, "0"}},
         PanelError::Latitude, lat0, lon0, 10, 5},
        {"three failures, one message naming the last", 1,
         {{B::LatitudeDecimal, "x"}, {B::LongitudeDecimal, "1.5"}, {B::Tolerance, "1001"},
          {B::FileRef, "0"}},
         PanelError::FileRef, lat0, 1.5L, 10, 5},
        {"limits accepted", 1, {{B::Tolerance, "1000"}, {B::FileRef, "999"}}, PanelError::None, lat0, lon0, 1000, 999},
        {"tolerance -1", 1, {{B::Tolerance, "-1"}}, PanelError::Tolerance, lat0, lon0, 10, 5},
        {"empty tolerance", 1, {{B::Tolerance, ""}}, PanelError::Tolerance, lat0, lon0, 10, 5},
        {"file 1000", 1, {{B::FileRef, "1000"}}, PanelError::FileRef, lat0, lon0, 10, 5},
        {"hexadecimal tolerance", 1, {{B::Tolerance, "$10"}}, PanelError::None, lat0, lon0, 16, 5},
        {"longitude 180 degrees 30 minutes", 2,
         {{B::LongitudeHemisphere, "E"}, {B::LongitudeDegrees, "180"}, {B::LongitudeMinutes, "30"}},
         PanelError::Longitude, lat0, lon0, 10, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TGPSRecord record = Point(lat0, lon0);
        PanelTexts texts = LoadPanel(record, c.mode);
        for (const auto& [box, text] : c.typed)
            texts[box] = text;
        texts.CheckedMode = 2;
        texts[PanelBox::Comments] = "new";
        EXPECT_EQ(StorePanel(texts, std::nullopt, c.mode, record), c.error);
        EXPECT_EQ(record.Latitude, c.latitude);
        EXPECT_EQ(record.Longitude, c.longitude);
        EXPECT_EQ(record.Tolerance, c.tolerance);
        EXPECT_EQ(record.FileRef, c.fileRef);
        EXPECT_EQ(record.Mode, 2);
        EXPECT_EQ(record.Comments, "new");
    }
}

TEST(PanelLogicTest, AnUntouchedPointNeverMovesInAnyMode)
{
    const Extended values[][2] = {{45.764043L, 4.835659L},
                                  {0.00005L, -0.0000123L},
                                  {-33.8688197L, 151.2092955L},
                                  {12.345678901234567891L, -0.1L}};
    for (int mode = 1; mode <= 4; ++mode) {
        for (const auto& v : values) {
            SCOPED_TRACE(::testing::Message() << "mode " << mode << " " << CoordinateText(v[0]));
            TGPSRecord record = Point(v[0], v[1]);
            const PanelTexts loaded = LoadPanel(record, mode);
            EXPECT_EQ(StorePanel(loaded, loaded, mode, record), PanelError::None);
            EXPECT_EQ(record.Latitude, v[0]);
            EXPECT_EQ(record.Longitude, v[1]);
            // Touching only the longitude re-reads it and still keeps the latitude.
            PanelTexts typed = loaded;
            typed[mode == 1 ? PanelBox::LongitudeDecimal : PanelBox::LongitudeDegrees] = "7";
            if (mode != 1) {
                typed[PanelBox::LongitudeMinutes] = "30";
                typed[PanelBox::LongitudeSeconds] = mode == 2 ? "" : "0";
                typed[PanelBox::LongitudeHemisphere] = "W";
            }
            EXPECT_EQ(StorePanel(typed, loaded, mode, record), PanelError::None);
            EXPECT_EQ(record.Latitude, v[0]);
            EXPECT_EQ(record.Longitude, mode == 1 ? 7 : -7.5L);
        }
    }
    // Without a known load the boxes are read as shown: a small value shows in plain decimals,
    // so it reads back as shown instead of failing on an exponent.
    TGPSRecord small = Point(0.00005L, 0);
    const PanelTexts shown = LoadPanel(small, 1);
    EXPECT_EQ(shown[PanelBox::LatitudeDecimal], "0.00005");
    EXPECT_EQ(StorePanel(shown, std::nullopt, 1, small), PanelError::None);
    EXPECT_EQ(small.Latitude, 0.00005L);
}

TEST(PanelLogicTest, DoubleClickPointsAtTheColumnsBoxes)
{
    using B = PanelBox;
    using C = PanelCaption;
    struct Case {
        int column, mode;
        std::optional<B> focus;
        std::vector<B> red;
        std::optional<C> caption;
    };
    const Case cases[] = {
        {0, 1, std::nullopt, {}, std::nullopt},
        {1, 1, B::LatitudeDecimal, {B::LatitudeDecimal}, C::LatitudeDecimal},
        {1, 3, B::LatitudeDegrees, {B::LatitudeDegrees, B::LatitudeMinutes, B::LatitudeSeconds, B::LatitudeHemisphere}, C::LatitudeDegrees},
        {2, 7, B::LongitudeDecimal, {B::LongitudeDecimal}, C::LongitudeDecimal},
        {2, 2, B::LongitudeDegrees, {B::LongitudeDegrees, B::LongitudeMinutes, B::LongitudeSeconds, B::LongitudeHemisphere}, C::LongitudeDegrees},
        {3, 4, B::Tolerance, {B::Tolerance}, C::Tolerance},
        {4, 1, std::nullopt, {}, C::Mode},
        {5, 1, B::FileRef, {B::FileRef}, C::FileRef},
        {6, 1, B::Comments, {B::Comments}, C::Comments},
        {-1, 1, std::nullopt, {}, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "column " << c.column << " mode " << c.mode);
        const FieldHighlight h = DoubleClickHighlight(c.column, c.mode, 2);
        EXPECT_EQ(h.Focus, c.focus);
        EXPECT_EQ(h.RedBoxes, c.red);
        EXPECT_EQ(h.RedCaption, c.caption);
        EXPECT_EQ(h.FocusMode, c.column == 4 ? 2 : 0);
        EXPECT_TRUE(h.SetDataRed);
    }
}

} // namespace
} // namespace uzuviv
