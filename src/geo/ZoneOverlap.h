#pragma once

#include <cstddef>
#include <memory>
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

// The same flags kept up to date while zones are replaced, inserted and removed: a change looks
// only at the zones near the ones that changed, so moving one point among a hundred thousand
// costs about what its neighbours cost.
class ZoneOverlaps {
public:
    ZoneOverlaps();
    ~ZoneOverlaps();
    ZoneOverlaps(ZoneOverlaps&&) noexcept;
    ZoneOverlaps& operator=(ZoneOverlaps&&) noexcept;

    void Assign(std::span<const Zone> zones);
    // Zones first .. first + removed - 1 become `inserted`, the ones after them move along.
    void Replace(std::size_t first, std::size_t removed, std::span<const Zone> inserted);

    std::size_t Size() const { return flags_.size(); }
    bool Overlaps(std::size_t zone) const { return flags_[zone]; }
    const std::vector<bool>& Flags() const { return flags_; }

private:
    class Grid;
    std::vector<Zone> zones_;
    std::vector<bool> flags_;
    std::unique_ptr<Grid> grid_;
};

} // namespace uzuviv
