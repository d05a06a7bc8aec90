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

} // namespace uzuviv
