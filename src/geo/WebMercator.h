#pragma once

#include <cstdint>

namespace uzuviv {

// The Web Mercator projection of the slippy-map tile servers: the world is a square of
// TileSize * 2^zoom pixels, x growing east from longitude -180, y growing south from the
// northern edge at MaxMercatorLatitude. Zoom levels may be fractional.
constexpr int TileSize = 256;
constexpr double MaxMercatorLatitude = 85.05112877980659;

struct LatLon {
    double Latitude = 0;
    double Longitude = 0;
};

struct WorldPoint {
    double X = 0;
    double Y = 0;
};

struct TileId {
    int Zoom = 0;
    std::int64_t X = 0;
    std::int64_t Y = 0;
    friend bool operator==(const TileId&, const TileId&) = default;
};

// The size of the world in pixels at `zoom`.
double WorldSize(double zoom);
// Latitudes beyond the projection's edge are drawn at the edge.
WorldPoint LatLonToWorld(LatLon position, double zoom);
// The inverse; x outside the world wraps to -180..180.
LatLon WorldToLatLon(WorldPoint point, double zoom);
// The tile holding a position at an integer zoom, clamped to the world's tiles.
TileId TileOf(LatLon position, int zoom);
// Ground metres that one pixel covers at `latitude`.
double MetresPerPixel(double latitude, double zoom);

} // namespace uzuviv
