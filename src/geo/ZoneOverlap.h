#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <vector>

#include "geo/WebMercator.h"

namespace uzuviv {

// A trigger zone: all positions within Radius metres of Centre.
struct Zone {
    LatLon Centre;
    double Radius = 0;
};

// Two zones overlap when their centres lie closer than the sum of their radii on the WGS84
// ellipsoid: zones that only touch do not overlap. A point with a radius of 0 has no zone, and
// one whose coordinates are off the globe takes part in nothing.
bool ZonesOverlap(const Zone& a, const Zone& b);
bool HasZone(const Zone& zone);

// For each zone, whether it overlaps at least one other. Neighbours are found through a grid,
// so a hundred thousand zones take milliseconds, not a quadratic pass.
std::vector<bool> OverlappingZones(std::span<const Zone> zones);

// Calls `visit(i, j)` for every overlapping pair, i < j, ordered by i then j, until it returns
// false.
void ForEachOverlap(std::span<const Zone> zones,
                    const std::function<bool(std::size_t, std::size_t)>& visit);

} // namespace uzuviv
