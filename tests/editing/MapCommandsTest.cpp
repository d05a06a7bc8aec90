#include "editing/MapCommands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>

#include "editing/FakeView.h"
#include "editing/ProjectCheck.h"
#include "geo/Geodesy.h"
#include "text/text.h"

namespace uzuviv {
namespace {

using testing::FakeView;

class MapCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        LanguageIndex = 2;
        view.SelectionChanged = [this]() { points.ListView1SelectItem(); };
        document.ResetProject();
        for (LatLon place : {LatLon{47.968056, 7.909167}, LatLon{47.969, 7.911}, LatLon{47.95, 7.95}}) {
            TGPSRecord record;
            record.Latitude = place.Latitude;
            record.Longitude = place.Longitude;
            record.Tolerance = 50;
            record.Mode = 2;
            record.Comments = "kept";
            Records().push_back(record);
        }
        document.MarkSaved();
    }

    std::vector<TGPSRecord>& Records() { return document.CurrentProject()->Records; }

    Document document;
    FakeView view;
    PointCommands points{document, view, view};
    MapCommands map{document, view, view, points};
};

TEST_F(MapCommandsTest, DragsStoreWhatIsUnderTheCursorAsOneUndoStep)
{
    struct Case { const char* what; MapTarget target; LatLon at; double latitude, longitude; int tolerance; };
    const TGPSRecord& p = Records()[1];
    const LatLon centre{static_cast<double>(p.Latitude), static_cast<double>(p.Longitude)};
    const Case cases[] = {
        {"marker", MapTarget::Marker, {47.97012345678, 7.90555}, 47.9701235, 7.90555, 50},
        {"marker past the antimeridian", MapTarget::Marker, {-10, 190}, -10, -170, 50},
        {"rim out to 123.4 m", MapTarget::Rim, GeodesicDestination(centre, 30, 123.4), 47.969, 7.911, 123},
        {"rim onto the point", MapTarget::Rim, centre, 47.969, 7.911, 0},
        {"rim beyond 1000 m", MapTarget::Rim, GeodesicDestination(centre, 200, 5000), 47.969, 7.911, 1000},
    };
    for (const Case& c : cases) {
        SetUp();
        view.Selected = RowSelection::Single(1);
        const std::size_t steps = document.History.Count();
        const int refreshes = view.RowRefreshes;
        map.DragEnd({c.target, 1}, c.at);
        const TGPSRecord& moved = Records()[1];
        EXPECT_NEAR(static_cast<double>(moved.Latitude), c.latitude, 1e-12) << c.what;
        EXPECT_NEAR(static_cast<double>(moved.Longitude), c.longitude, 1e-12) << c.what;
        EXPECT_EQ(moved.Tolerance, c.tolerance) << c.what;
        EXPECT_EQ(moved.Mode, 2) << c.what;
        EXPECT_EQ(moved.Comments, "kept") << c.what;
        EXPECT_EQ(document.History.Count(), steps + 1) << c.what;
        EXPECT_EQ(view.RowRefreshes, refreshes + 1) << c.what;
        EXPECT_EQ(view.Panel[PanelBox::Tolerance], std::to_string(c.tolerance)) << c.what;

        points.Undo1Click();
        EXPECT_FALSE(document.IsProjectModified()) << c.what;
    }
}

TEST_F(MapCommandsTest, NewPointHereAddsOneSelectedPointOrRefusesWhenFull)
{
    ASSERT_TRUE(map.NewPointHere({-33.8568, 151.2153}));
    ASSERT_EQ(Records().size(), 4u);
    EXPECT_NEAR(static_cast<double>(Records()[3].Latitude), -33.8568, 1e-12);
    EXPECT_NEAR(static_cast<double>(Records()[3].Longitude), 151.2153, 1e-12);
    EXPECT_EQ(Records()[3].Tolerance, 0);
    EXPECT_EQ(view.Selected, RowSelection::Single(3));
    EXPECT_EQ(view.Panel[PanelBox::LatitudeDecimal], "-33.8568");
    points.Undo1Click();
    EXPECT_EQ(Records().size(), 3u);

    Records().resize(150);
    EXPECT_FALSE(map.NewPointHere({1, 1}));
    EXPECT_EQ(Records().size(), 150u);
    ASSERT_EQ(view.Messages.size(), 1u);
    EXPECT_EQ(view.Messages[0].Text, "Project full, you cannot add more new GPS record!");
}

TEST_F(MapCommandsTest, ClicksSelectLikeTheList)
{
    map.ClickMarker(2, false);
    EXPECT_EQ(view.Selected, RowSelection::Single(2));
    map.ClickMarker(0, true);
    RowSelection both = RowSelection::Single(0);
    both.Add(2);
    EXPECT_EQ(view.Selected, both);
    map.ClickMarker(2, true);
    EXPECT_EQ(view.Selected, RowSelection::Single(0));
    EXPECT_FALSE(map.PressMarker(0, false));   // already selected: a drag of it keeps the selection
    EXPECT_EQ(view.Selected, RowSelection::Single(0));
    EXPECT_TRUE(map.PressMarker(1, false));
    EXPECT_EQ(view.Selected, RowSelection::Single(1));
    EXPECT_EQ(document.History.Count(), 1u);
}

TEST_F(MapCommandsTest, HitTestFindsMarkersBeforeRimsAndSelectedBeforeOthers)
{
    Records()[1] = Records()[0];   // two markers on one place
    MapLayer layer;
    layer.Rebuild(document.CurrentProject());
    const MapViewport view{17, LatLonToWorld({47.968056, 7.909167}, 17), 400, 300};
    // 50 m at this latitude and zoom: 50 / (1.1943 * cos 47.968 deg) = 62.5 pixels.
    const double radius = layer.ZoneRadius(0, 17);
    EXPECT_NEAR(radius, 50 / (156543.03392804097 / (1 << 17) * std::cos(47.968056 * std::numbers::pi / 180)), 1e-9);
    EXPECT_NEAR(radius, 62.5, 0.1);
    const ViewPoint centre = view.ToView({47.968056, 7.909167});
    EXPECT_NEAR(centre.X, 200, 1e-6);
    EXPECT_NEAR(centre.Y, 150, 1e-6);

    struct Case { ViewPoint at; RowSelection selection; MapHit hit; };
    const Case cases[] = {
        {{203, 148}, {}, {MapTarget::Marker, 1}},
        {{203, 148}, RowSelection::Single(0), {MapTarget::Marker, 0}},
        {{200 + radius + 3, 150}, {}, {MapTarget::Rim, 1}},
        {{200, 150 - radius + 4}, RowSelection::Single(0), {MapTarget::Rim, 0}},
        {{200 + radius / 2, 150}, {}, {}},
        {{0, 0}, {}, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(layer.HitTest(view, c.at, c.selection), c.hit) << c.at.X << "," << c.at.Y;
}

TEST_F(MapCommandsTest, WarningZonesAreTheOnesCheckProjectFindsOverlapping)
{
    Records().clear();
    for (int i = 0; i < 60; ++i) {
        TGPSRecord record;
        record.Latitude = 47.96 + (i * 37 % 60) * 0.0002;
        record.Longitude = 7.9 + (i * 23 % 60) * 0.0003;
        record.Tolerance = static_cast<std::uint16_t>(i % 4 == 0 ? 0 : 5 + i % 30);
        Records().push_back(record);
    }
    Records()[7].Latitude = 95;   // off the globe: in no overlap
    std::vector<bool> expected(Records().size(), false);
    for (const ProjectFinding& finding : CheckProject(*document.CurrentProject()))
        if (finding.Kind == FindingKind::OverlappingZones)
            for (std::size_t point : finding.Points)
                expected[point] = true;
    MapLayer layer;
    layer.Rebuild(document.CurrentProject());
    std::vector<bool> drawn;
    for (std::size_t row = 0; row < Records().size(); ++row)
        drawn.push_back(layer.Overlaps(row));
    EXPECT_EQ(drawn, expected);
    EXPECT_GT(std::count(drawn.begin(), drawn.end(), true), 5);
    EXPECT_GT(std::count(drawn.begin(), drawn.end(), false), 5);

    // After each edit the layer works out only what changed, and is what a fresh one would be.
    using Rows = std::vector<TGPSRecord>;
    const struct {
        const char* what;
        std::function<void(Rows&)> edit;
    } edits[] = {
        {"a point moved onto another", [](Rows& r) { r[3].Latitude = r[10].Latitude; r[3].Longitude = r[10].Longitude; }},
        {"a zone grown over all", [](Rows& r) { r[20].Tolerance = 1000; }},
        {"that zone gone", [](Rows& r) { r[20].Tolerance = 0; }},
        {"a mode changed", [](Rows& r) { r[21].Mode = 3; }},
        {"a point deleted", [](Rows& r) { r.erase(r.begin() + 10); }},
        {"two points inserted", [](Rows& r) { const TGPSRecord copy = r[40]; r.insert(r.begin() + 5, 2, copy); }},
        {"the last point deleted", [](Rows& r) { r.pop_back(); }},
        {"all points gone", [](Rows& r) { r.clear(); }},
    };
    for (const auto& e : edits) {
        SCOPED_TRACE(e.what);
        e.edit(Records());
        layer.Rebuild(document.CurrentProject());
        MapLayer fresh;
        fresh.Rebuild(document.CurrentProject());
        ASSERT_EQ(layer.Count(), fresh.Count());
        for (std::size_t row = 0; row < fresh.Count(); ++row) {
            EXPECT_EQ(layer.Overlaps(row), fresh.Overlaps(row)) << row;
            EXPECT_EQ(layer.World(row, 0).X, fresh.World(row, 0).X) << row;
            EXPECT_EQ(layer.ZoneRadius(row, 0), fresh.ZoneRadius(row, 0)) << row;
            EXPECT_EQ(layer.Mode(row), fresh.Mode(row)) << row;
        }
    }
}

} // namespace
} // namespace uzuviv
