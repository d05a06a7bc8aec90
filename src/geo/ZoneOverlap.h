#pragma once

#include <cstddef>
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

// For each zone, whether it overlaps at least one other: the map's warning colour, by the same
// rule as Check Project's overlapping zones. Check Project lists every pair with its distance;
// the map needs only a yes or no per zone, so each search stops at the first overlap found and
// a hundred thousand zones in dense clusters take milliseconds, not the seconds that listing
// every pair takes there.
std::vector<bool> OverlappingZones(std::span<const Zone> zones);

} // namespace uzuviv
