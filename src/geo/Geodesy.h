#pragma once

#include <vector>

#include "geo/WebMercator.h"

namespace uzuviv {

// Geodesics on the WGS84 ellipsoid (GeographicLib). Positions in degrees, distances in metres.

constexpr double Wgs84EquatorialRadius = 6378137.0;
constexpr double Wgs84Flattening = 1 / 298.257223563;
constexpr double Wgs84PolarRadius = Wgs84EquatorialRadius * (1 - Wgs84Flattening);

// The shortest distance between two positions.
double GeodesicDistance(LatLon from, LatLon to);
// The position `distance` metres from `from` along the initial bearing `azimuth` (degrees
// clockwise from north).
LatLon GeodesicDestination(LatLon from, double azimuth, double distance);
// The circle of all positions `radius` metres from `centre`, as `vertices` positions clockwise
// from north; the first is not repeated at the end.
std::vector<LatLon> GeodesicCircle(LatLon centre, double radius, int vertices);

} // namespace uzuviv
