#pragma once

#include <vector>

#include "geo/WebMercator.h"

namespace uzuviv {

// Geodesics on the WGS84 ellipsoid (GeographicLib). Positions in degrees, distances in metres.

// The shortest distance between two positions.
double GeodesicDistance(LatLon from, LatLon to);
// The position `distance` metres from `from` along the initial bearing `azimuth` (degrees
// clockwise from north).
LatLon GeodesicDestination(LatLon from, double azimuth, double distance);
// The circle of all positions `radius` metres from `centre`, as `vertices` positions clockwise
// from north; the first is not repeated at the end.
std::vector<LatLon> GeodesicCircle(LatLon centre, double radius, int vertices);

} // namespace uzuviv
