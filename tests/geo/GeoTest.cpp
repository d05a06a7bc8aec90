#include <gtest/gtest.h>

#include <cmath>

#include "geo/Geodesy.h"
#include "geo/WebMercator.h"

namespace uzuviv {
namespace {

TEST(WebMercatorTest, TilesOfKnownPlaces)
{
    struct Case { const char* place; LatLon position; int zoom; std::int64_t x, y; };
    const Case cases[] = {
        {"anywhere at zoom 0", {48.8566, 2.3522}, 0, 0, 0},
        {"Schauinsland", {47.968056, 7.909167}, 13, 4275, 2848},
        {"London", {51.5074, -0.1278}, 10, 511, 340},
        {"Sydney Opera House", {-33.8568, 151.2153}, 12, 3768, 2457},
        {"Eiffel Tower", {48.8584, 2.2945}, 15, 16592, 11272},
        {"north pole, clamped to the top row", {90, 0}, 3, 4, 0},
        {"antimeridian, last column", {0, 180}, 4, 15, 8},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TileOf(c.position, c.zoom), (TileId{c.zoom, c.x, c.y})) << c.place;
    }
}

TEST(WebMercatorTest, WorldPixelsGoBackToTheSamePosition)
{
    for (double zoom : {0.0, 3.5, 12.0, 19.0}) {
        for (LatLon position : {LatLon{0, 0}, LatLon{48.8566, 2.3522}, LatLon{-85, -179.9},
                                LatLon{60.1, 179.99}}) {
            const LatLon back = WorldToLatLon(LatLonToWorld(position, zoom), zoom);
            EXPECT_NEAR(back.Latitude, position.Latitude, 1e-9) << zoom;
            EXPECT_NEAR(back.Longitude, position.Longitude, 1e-9) << zoom;
        }
    }
    const WorldPoint centre = LatLonToWorld({0, 0}, 1);
    EXPECT_DOUBLE_EQ(centre.X, 256);
    EXPECT_DOUBLE_EQ(centre.Y, 256);
}

TEST(WebMercatorTest, MetresPerPixel)
{
    // The equator at zoom 0: the equatorial circumference over 256 pixels.
    EXPECT_NEAR(MetresPerPixel(0, 0), 156543.03392804097, 1e-6);
    EXPECT_NEAR(MetresPerPixel(60, 1), 156543.03392804097 / 4, 1e-6);
}

TEST(GeodesyTest, ReferenceGeodesics)
{
    // GeographicLib's own examples, and the classic Flinders Peak to Buninyong line.
    EXPECT_NEAR(GeodesicDistance({40.6, -73.8}, {51.6, -0.5}), 5551759.400319, 1e-3);
    EXPECT_NEAR(GeodesicDistance({-37.95103341666667, 144.42486788888889},
                                 {-37.65282113888889, 143.92649552777778}),
                54972.271, 1e-3);
    const LatLon far = GeodesicDestination({40.6, -73.8}, 51, 5.5e6);
    EXPECT_NEAR(GeodesicDistance({40.6, -73.8}, far), 5.5e6, 1e-6);
    // Due north along a meridian: 10 001 965.729 m from the equator to the pole.
    EXPECT_NEAR(GeodesicDestination({0, 10}, 0, 10001965.729).Latitude, 90, 1e-6);
    // Across the antimeridian the short way round.
    EXPECT_NEAR(GeodesicDistance({0, 179.999}, {0, -179.999}), 222.639, 1e-3);
}

TEST(GeodesyTest, CircleVerticesLieAtTheRadius)
{
    for (double radius : {0.0, 5.0, 1000.0}) {
        const std::vector<LatLon> circle = GeodesicCircle({-89.99, 179.9999}, radius, 64);
        ASSERT_EQ(circle.size(), 64u);
        for (const LatLon& vertex : circle) {
            EXPECT_NEAR(GeodesicDistance({-89.99, 179.9999}, vertex), radius, 1e-6);
            EXPECT_LE(std::abs(vertex.Longitude), 180.0);
        }
    }
    EXPECT_TRUE(GeodesicCircle({0, 0}, 10, 0).empty());
}

} // namespace
} // namespace uzuviv
