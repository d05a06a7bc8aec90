#include "geo/Geodesy.h"

#include <GeographicLib/Geodesic.hpp>

namespace uzuviv {

namespace {

const GeographicLib::Geodesic& Wgs84() { return GeographicLib::Geodesic::WGS84(); }

} // namespace

double GeodesicDistance(LatLon from, LatLon to)
{
    double distance = 0;
    Wgs84().Inverse(from.Latitude, from.Longitude, to.Latitude, to.Longitude, distance);
    return distance;
}

LatLon GeodesicDestination(LatLon from, double azimuth, double distance)
{
    LatLon to;
    Wgs84().Direct(from.Latitude, from.Longitude, azimuth, distance, to.Latitude, to.Longitude);
    return to;
}

std::vector<LatLon> GeodesicCircle(LatLon centre, double radius, int vertices)
{
    std::vector<LatLon> circle;
    if (vertices <= 0)
        return circle;
    circle.reserve(static_cast<std::size_t>(vertices));
    for (int i = 0; i < vertices; ++i)
        circle.push_back(GeodesicDestination(centre, 360.0 * i / vertices, radius));
    return circle;
}

} // namespace uzuviv
