#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

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

// Pixels from the top-left corner of a map view.
struct ViewPoint {
    double X = 0;
    double Y = 0;
};

// A map view of Width x Height pixels showing the world at Zoom around Centre (world pixels
// at Zoom).
struct MapViewport {
    double Zoom = 0;
    WorldPoint Centre;
    double Width = 0;
    double Height = 0;

    WorldPoint TopLeft() const { return {Centre.X - Width / 2, Centre.Y - Height / 2}; }
    ViewPoint ToView(LatLon position) const;
    ViewPoint WorldToView(WorldPoint point) const;
    LatLon ToLatLon(ViewPoint point) const;
};

// The tiles at the viewport's zoom (rounded down) that it shows, plus `ring` more tiles on
// every side, nearest to the centre first. Tiles outside the world are left out.
std::vector<TileId> TilesCovering(const MapViewport& view, int ring);

// The tile's address from a template holding {z}, {x} and {y}.
std::string TileUrl(std::string_view urlTemplate, const TileId& tile);
// Whether a template holds all three of {z}, {x} and {y} and starts with http:// or https://.
bool IsTileUrlTemplate(std::string_view urlTemplate);

// A scale bar: the longest round length (1, 2 or 5 times a power of ten metres) that is at most
// `maxPixels` long at `latitude`, and its length in pixels.
struct ScaleBar {
    double Metres = 0;
    double Pixels = 0;
};
ScaleBar ScaleBarFor(double latitude, double zoom, double maxPixels);

// The round step in degrees (1, 2 or 5 times a power of ten, or 10, 15, 30, 45 degrees and
// above) that puts grid lines at least `minPixels` apart when one degree is
// `pixelsPerDegree` long.
double GridStep(double pixelsPerDegree, double minPixels);

// The largest integer zoom in [minZoom, maxZoom] at which the box from `south`-`west` to
// `north`-`east` fits in width x height pixels.
int ZoomToFit(LatLon southWest, LatLon northEast, double width, double height, int minZoom,
              int maxZoom);

} // namespace uzuviv
