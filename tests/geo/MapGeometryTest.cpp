#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <algorithm>

#include "geo/Geodesy.h"
#include "geo/WebMercator.h"
#include "geo/ZoneOverlap.h"

namespace uzuviv {
namespace {

TEST(MapGeometryTest, ViewportPlacesKnownCoordinatesOnTheirPixels)
{
    // Zoom 2 around the world's centre in a 400 x 300 view: the null island sits mid-view and
    // the antimeridian 512 pixels away; the Eiffel Tower's tile 16592/11272 at zoom 15.
    const MapViewport world{2, {512, 512}, 400, 300};
    EXPECT_NEAR(world.ToView({0, 0}).X, 200, 1e-9);
    EXPECT_NEAR(world.ToView({0, 0}).Y, 150, 1e-9);
    EXPECT_NEAR(world.ToView({0, 180}).X, 712, 1e-9);
    const LatLon back = world.ToLatLon({200 + 256, 150});
    EXPECT_NEAR(back.Longitude, 90, 1e-9);
    EXPECT_NEAR(back.Latitude, 0, 1e-9);

    const MapViewport paris{15, LatLonToWorld({48.8584, 2.2945}, 15), 256, 256};
    const ViewPoint tower = paris.ToView({48.8584, 2.2945});
    EXPECT_NEAR(tower.X, 128, 1e-6);
    EXPECT_NEAR(tower.Y, 128, 1e-6);
    const WorldPoint corner = paris.TopLeft();
    EXPECT_EQ(static_cast<std::int64_t>((corner.X + tower.X) / TileSize), 16592);
    EXPECT_EQ(static_cast<std::int64_t>((corner.Y + tower.Y) / TileSize), 11272);
}

TEST(MapGeometryTest, TilesCoverTheViewNearestFirstAndStayInTheWorld)
{
    struct Case { MapViewport view; int ring; std::size_t count; TileId first; };
    const Case cases[] = {
        {{2, {512, 512}, 256, 256}, 0, 4, {2, 1, 1}},
        {{2, {512, 512}, 256, 256}, 1, 16, {2, 1, 1}},
        // A view on a tile's corner at zoom 10, and one at the world's top-left edge.
        {{10, {500 * 256, 300 * 256}, 512, 512}, 0, 4, {10, 499, 299}},
        {{3, {0, 0}, 512, 512}, 1, 4, {3, 0, 0}},
        {{0, {128, 128}, 1000, 1000}, 1, 1, {0, 0, 0}},
    };
    for (const Case& c : cases) {
        const std::vector<TileId> tiles = TilesCovering(c.view, c.ring);
        ASSERT_EQ(tiles.size(), c.count) << c.view.Zoom;
        EXPECT_EQ(tiles.front(), c.first) << c.view.Zoom;
    }
    EXPECT_EQ(TileUrl("https://t.example/{z}/{x}/{y}.png?k=1", {12, 2148, 1409}),
              "https://t.example/12/2148/1409.png?k=1");
    EXPECT_TRUE(IsTileUrlTemplate("http://127.0.0.1:8080/{z}/{x}/{y}.png"));
    EXPECT_FALSE(IsTileUrlTemplate("https://t.example/{z}/{x}.png"));
    EXPECT_FALSE(IsTileUrlTemplate("file:///tiles/{z}/{x}/{y}.png"));
}

TEST(MapGeometryTest, ScaleBarGridStepAndFit)
{
    // 156 543.03 m a pixel at the equator at zoom 0: 100 pixels hold 10 000 km at most.
    const ScaleBar equator = ScaleBarFor(0, 0, 100);
    EXPECT_DOUBLE_EQ(equator.Metres, 1e7);
    EXPECT_NEAR(equator.Pixels, 63.880, 1e-3);
    EXPECT_DOUBLE_EQ(ScaleBarFor(60, 17, 100).Metres, 50);   // 0.597 m a pixel
    EXPECT_DOUBLE_EQ(ScaleBarFor(0, 12, 120).Metres, 2000);  // 38.2 m a pixel

    EXPECT_DOUBLE_EQ(GridStep(256.0 / 360, 90), 90);
    EXPECT_DOUBLE_EQ(GridStep(1024.0 / 360, 90), 45);
    EXPECT_DOUBLE_EQ(GridStep(262144.0 / 360, 90), 0.2);
    EXPECT_DOUBLE_EQ(GridStep(1000, 100), 0.1);

    // Paris to Berlin (about 880 km across) fits in 800 x 600 at zoom 6, not at zoom 7.
    EXPECT_EQ(ZoomToFit({48.85, 2.35}, {52.52, 13.40}, 800, 600, 1, 19), 6);
    EXPECT_EQ(ZoomToFit({48.85, 2.35}, {48.85, 2.35}, 800, 600, 1, 17), 17);
}

// Where `distance` metres east of `from` lies.
LatLon East(LatLon from, double distance) { return GeodesicDestination(from, 90, distance); }

TEST(ZoneOverlapTest, PairsAtKnownDistances)
{
    struct Case { const char* what; LatLon a; double distance, radiusA, radiusB; bool overlap; };
    const Case cases[] = {
        {"100 m apart, 60 + 50", {47.97, 7.91}, 100, 60, 50, true},
        {"100 m apart, 49 + 50", {47.97, 7.91}, 100, 49, 50, false},
        {"one inside the other", {-33.86, 151.21}, 10, 1000, 5, true},
        {"a point without a zone inside one", {-33.86, 151.21}, 10, 1000, 0, false},
        {"across the antimeridian", {0, 179.9995}, 111, 60, 60, true},
        {"near the pole", {89.999, 10}, 150, 100, 49, false},
        {"two bare points on one place", {10, 10}, 0, 0, 0, false},
        {"off the globe", {95, 10}, 0, 100, 100, false},
    };
    for (const Case& c : cases) {
        const Zone zones[] = {{c.a, c.radiusA}, {East(c.a, c.distance), c.radiusB}};
        EXPECT_EQ(ZonesOverlap(zones[0], zones[1]), c.overlap) << c.what;
        const std::vector<bool> flags = OverlappingZones(zones);
        EXPECT_EQ(flags[0], c.overlap) << c.what;
        EXPECT_EQ(flags[1], c.overlap) << c.what;
    }
}

TEST(ZoneOverlapTest, GridFindsWhatComparingEveryPairFinds)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<double> offset(-0.02, 0.02);
    std::uniform_int_distribution<int> radius(0, 1000);
    std::vector<Zone> zones;
    for (LatLon town : {LatLon{47.97, 7.91}, LatLon{0.01, -0.01}, LatLon{-41.3, 179.99}})
        for (int i = 0; i < 150; ++i)
            zones.push_back({{town.Latitude + offset(random), town.Longitude + offset(random)},
                             static_cast<double>(radius(random) / 10)});

    std::vector<bool> flags(zones.size());
    std::size_t pairs = 0;
    for (std::size_t i = 0; i < zones.size(); ++i)
        for (std::size_t j = i + 1; j < zones.size(); ++j)
            if (ZonesOverlap(zones[i], zones[j])) {
                ++pairs;
                flags[i] = flags[j] = true;
            }
    ASSERT_GT(pairs, 10u);
    ASSERT_LT(std::count(flags.begin(), flags.end(), true), static_cast<long>(zones.size()));
    EXPECT_EQ(OverlappingZones(zones), flags);

    // Changes worked out near the changed zones give the flags of a fresh start.
    ZoneOverlaps overlaps;
    overlaps.Assign(zones);
    const auto near = [&](std::size_t i, double radius) { return Zone{East(zones[i].Centre, 30), radius}; };
    const struct {
        const char* what;
        std::size_t first, removed;
        std::vector<Zone> inserted;
    } changes[] = {
        {"a zone moved onto another", 3, 1, {near(10, 40)}},
        {"a zone grown beyond all others", 20, 1, {near(20, 5000)}},
        {"that zone without a radius", 20, 1, {near(20, 0)}},
        {"a zone removed", 10, 1, {}},
        {"three zones inserted", 0, 0, {near(200, 80), near(201, 1), near(400, 300)}},
        {"the last zone removed", zones.size() - 1, 1, {}},
        {"a zone off the globe", 7, 1, {{{95, 10}, 100}}},
        {"many zones at once", 100, 200, std::vector<Zone>(150, near(300, 10))},
    };
    for (const auto& c : changes) {
        SCOPED_TRACE(c.what);
        overlaps.Replace(c.first, c.removed, c.inserted);
        zones.erase(zones.begin() + static_cast<long>(c.first), zones.begin() + static_cast<long>(c.first + c.removed));
        zones.insert(zones.begin() + static_cast<long>(c.first), c.inserted.begin(), c.inserted.end());
        EXPECT_EQ(overlaps.Flags(), OverlappingZones(zones));
    }
}

} // namespace
} // namespace uzuviv
