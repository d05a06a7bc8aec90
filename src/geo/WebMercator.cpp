#include "geo/WebMercator.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace uzuviv {

namespace {

// WGS84 equatorial radius: the sphere that Web Mercator projects from.
constexpr double EarthRadius = 6378137.0;
constexpr double Pi = std::numbers::pi;

double Radians(double degrees) { return degrees * Pi / 180.0; }
double Degrees(double radians) { return radians * 180.0 / Pi; }

} // namespace

double WorldSize(double zoom) { return TileSize * std::exp2(zoom); }

WorldPoint LatLonToWorld(LatLon position, double zoom)
{
    const double size = WorldSize(zoom);
    const double latitude = std::clamp(position.Latitude, -MaxMercatorLatitude, MaxMercatorLatitude);
    const double sine = std::sin(Radians(latitude));
    return {(position.Longitude + 180.0) / 360.0 * size,
            (0.5 - std::log((1 + sine) / (1 - sine)) / (4 * Pi)) * size};
}

LatLon WorldToLatLon(WorldPoint point, double zoom)
{
    const double size = WorldSize(zoom);
    double longitude = point.X / size * 360.0 - 180.0;
    if (longitude < -180.0 || longitude > 180.0)
        longitude = std::remainder(longitude, 360.0);
    const double n = Pi * (1 - 2 * point.Y / size);
    return {Degrees(std::atan(std::sinh(n))), longitude};
}

TileId TileOf(LatLon position, int zoom)
{
    const WorldPoint world = LatLonToWorld(position, zoom);
    const auto last = (std::int64_t{1} << zoom) - 1;
    const auto tile = [last](double pixel) {
        return std::clamp(static_cast<std::int64_t>(std::floor(pixel / TileSize)), std::int64_t{0}, last);
    };
    return {zoom, tile(world.X), tile(world.Y)};
}

double MetresPerPixel(double latitude, double zoom)
{
    return std::cos(Radians(latitude)) * 2 * Pi * EarthRadius / WorldSize(zoom);
}

ViewPoint MapViewport::ToView(LatLon position) const
{
    return WorldToView(LatLonToWorld(position, Zoom));
}

ViewPoint MapViewport::WorldToView(WorldPoint point) const
{
    const WorldPoint corner = TopLeft();
    return {point.X - corner.X, point.Y - corner.Y};
}

LatLon MapViewport::ToLatLon(ViewPoint point) const
{
    const WorldPoint corner = TopLeft();
    const double size = WorldSize(Zoom);
    const double y = std::clamp(corner.Y + point.Y, 0.0, size);
    return WorldToLatLon({corner.X + point.X, y}, Zoom);
}

std::vector<TileId> TilesCovering(const MapViewport& view, int ring)
{
    const int zoom = std::max(0, static_cast<int>(std::floor(view.Zoom)));
    // Tiles of the integer zoom, drawn scaled when the view sits between two zooms.
    const double scale = std::exp2(zoom - view.Zoom);
    const WorldPoint corner = view.TopLeft();
    const double left = corner.X * scale, top = corner.Y * scale;
    const double right = left + view.Width * scale, bottom = top + view.Height * scale;
    const auto last = (std::int64_t{1} << zoom) - 1;
    const auto tile = [](double pixel) { return static_cast<std::int64_t>(std::floor(pixel / TileSize)); };
    const std::int64_t x0 = std::max<std::int64_t>(0, tile(left) - ring);
    const std::int64_t x1 = std::min<std::int64_t>(last, tile(std::nextafter(right, left)) + ring);
    const std::int64_t y0 = std::max<std::int64_t>(0, tile(top) - ring);
    const std::int64_t y1 = std::min<std::int64_t>(last, tile(std::nextafter(bottom, top)) + ring);

    std::vector<TileId> tiles;
    const double centreX = (left + right) / 2 / TileSize - 0.5, centreY = (top + bottom) / 2 / TileSize - 0.5;
    for (std::int64_t y = y0; y <= y1; ++y)
        for (std::int64_t x = x0; x <= x1; ++x)
            tiles.push_back({zoom, x, y});
    const auto distance = [&](const TileId& t) {
        return std::hypot(static_cast<double>(t.X) - centreX, static_cast<double>(t.Y) - centreY);
    };
    std::stable_sort(tiles.begin(), tiles.end(),
                     [&](const TileId& a, const TileId& b) { return distance(a) < distance(b); });
    return tiles;
}

std::string TileUrl(std::string_view urlTemplate, const TileId& tile)
{
    std::string url;
    url.reserve(urlTemplate.size() + 16);
    for (std::size_t i = 0; i < urlTemplate.size(); ++i) {
        const std::string_view rest = urlTemplate.substr(i);
        if (rest.starts_with("{z}") || rest.starts_with("{x}") || rest.starts_with("{y}")) {
            const char key = rest[1];
            url += std::to_string(key == 'z' ? tile.Zoom : key == 'x' ? tile.X : tile.Y);
            i += 2;
        } else {
            url += urlTemplate[i];
        }
    }
    return url;
}

bool IsTileUrlTemplate(std::string_view urlTemplate)
{
    const bool web = urlTemplate.starts_with("http://") || urlTemplate.starts_with("https://");
    return web && urlTemplate.find("{z}") != std::string_view::npos &&
           urlTemplate.find("{x}") != std::string_view::npos &&
           urlTemplate.find("{y}") != std::string_view::npos &&
           urlTemplate.find_first_of(" \t\r\n") == std::string_view::npos;
}

namespace {

// The largest of 1, 2, 5 times a power of ten that is at most `limit` (limit > 0).
double RoundDown125(double limit)
{
    const double power = std::pow(10.0, std::floor(std::log10(limit)));
    for (double factor : {5.0, 2.0, 1.0})
        if (factor * power <= limit)
            return factor * power;
    return power;
}

} // namespace

ScaleBar ScaleBarFor(double latitude, double zoom, double maxPixels)
{
    const double metresPerPixel = MetresPerPixel(latitude, zoom);
    if (!(metresPerPixel > 0) || !(maxPixels > 0))
        return {};
    const double metres = RoundDown125(maxPixels * metresPerPixel);
    return {metres, metres / metresPerPixel};
}

double GridStep(double pixelsPerDegree, double minPixels)
{
    const double wanted = minPixels / pixelsPerDegree;
    if (wanted > 10) {
        for (double step : {15.0, 30.0, 45.0, 90.0})
            if (step >= wanted)
                return step;
        return 90;
    }
    const double power = std::pow(10.0, std::floor(std::log10(wanted)));
    for (double factor : {1.0, 2.0, 5.0, 10.0})
        if (factor * power >= wanted)
            return factor * power;
    return 10 * power;
}

int ZoomToFit(LatLon southWest, LatLon northEast, double width, double height, int minZoom,
              int maxZoom)
{
    const WorldPoint a = LatLonToWorld(southWest, 0), b = LatLonToWorld(northEast, 0);
    const double spanX = std::abs(b.X - a.X), spanY = std::abs(a.Y - b.Y);
    for (int zoom = maxZoom; zoom > minZoom; --zoom) {
        const double scale = std::exp2(zoom);
        if (spanX * scale <= width && spanY * scale <= height)
            return zoom;
    }
    return minZoom;
}

} // namespace uzuviv
