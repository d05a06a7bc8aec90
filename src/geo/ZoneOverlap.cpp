#include "geo/ZoneOverlap.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "geo/Geodesy.h"

namespace uzuviv {

namespace {

// A sphere of the Earth's mean radius: on it, straight-line distances stay within 0.6 % of the
// ellipsoid's geodesics at the sizes of zones, so they can sort out the clear cases cheaply.
constexpr double MeanRadius = 6371008.8;
constexpr double Slack = 0.006;

struct Point3 {
    double X, Y, Z;
};

Point3 OnSphere(LatLon position)
{
    const double lat = position.Latitude * std::numbers::pi / 180;
    const double lon = position.Longitude * std::numbers::pi / 180;
    return {MeanRadius * std::cos(lat) * std::cos(lon), MeanRadius * std::cos(lat) * std::sin(lon),
            MeanRadius * std::sin(lat)};
}

double Chord(const Point3& a, const Point3& b)
{
    return std::sqrt((a.X - b.X) * (a.X - b.X) + (a.Y - b.Y) * (a.Y - b.Y) + (a.Z - b.Z) * (a.Z - b.Z));
}

// Zones sorted into cubes of space at least as wide as the largest overlap distance, so every
// zone that may overlap a given one lies in its cube or one of the 26 around it.
class ZoneGrid {
public:
    explicit ZoneGrid(std::span<const Zone> zones) : zones_(zones), points_(zones.size())
    {
        double largest = 0;
        for (const Zone& zone : zones)
            if (HasZone(zone))
                largest = std::max(largest, zone.Radius);
        cube_ = (2 * largest) * (1 + 2 * Slack) + 1;
        cells_.reserve(zones.size());
        for (std::size_t i = 0; i < zones.size(); ++i) {
            points_[i] = OnSphere(zones[i].Centre);
            if (!HasZone(zones[i]))
                continue;
            cells_.push_back({Key(Cell(points_[i].X), Cell(points_[i].Y), Cell(points_[i].Z)), i});
        }
        std::sort(cells_.begin(), cells_.end());
    }

    // Calls `visit(j)` for every other zone that overlaps zone i, until it returns false.
    template <typename Visit>
    void Neighbours(std::size_t i, Visit visit) const
    {
        if (!HasZone(zones_[i]))
            return;
        const Point3& p = points_[i];
        const std::int64_t cx = Cell(p.X), cy = Cell(p.Y), cz = Cell(p.Z);
        for (std::int64_t dx = -1; dx <= 1; ++dx)
            for (std::int64_t dy = -1; dy <= 1; ++dy)
                for (std::int64_t dz = -1; dz <= 1; ++dz) {
                    const std::uint64_t key = Key(cx + dx, cy + dy, cz + dz);
                    auto it = std::lower_bound(cells_.begin(), cells_.end(), Entry{key, 0});
                    for (; it != cells_.end() && it->Key == key; ++it)
                        if (it->Index != i && Overlap(i, it->Index) && !visit(it->Index))
                            return;
                }
    }

private:
    struct Entry {
        std::uint64_t Key;
        std::size_t Index;
        auto operator<=>(const Entry&) const = default;
    };

    std::int64_t Cell(double coordinate) const { return static_cast<std::int64_t>(std::floor(coordinate / cube_)); }
    static std::uint64_t Key(std::int64_t x, std::int64_t y, std::int64_t z)
    {
        // 21 bits per axis hold any cube of a metre or more across the Earth.
        const auto bits = [](std::int64_t v) { return static_cast<std::uint64_t>(v + (1 << 20)) & 0x1FFFFF; };
        return bits(x) << 42 | bits(y) << 21 | bits(z);
    }

    bool Overlap(std::size_t i, std::size_t j) const
    {
        const double reach = zones_[i].Radius + zones_[j].Radius;
        const double chord = Chord(points_[i], points_[j]);
        if (chord > reach * (1 + Slack) + 1e-3)
            return false;
        if (chord < reach * (1 - Slack))
            return true;
        return ZonesOverlap(zones_[i], zones_[j]);
    }

    std::span<const Zone> zones_;
    std::vector<Point3> points_;
    std::vector<Entry> cells_;
    double cube_ = 1;
};

} // namespace

bool HasZone(const Zone& zone)
{
    const LatLon c = zone.Centre;
    return zone.Radius > 0 && c.Latitude >= -90 && c.Latitude <= 90 && c.Longitude >= -180 &&
           c.Longitude <= 180;
}

bool ZonesOverlap(const Zone& a, const Zone& b)
{
    return HasZone(a) && HasZone(b) && GeodesicDistance(a.Centre, b.Centre) < a.Radius + b.Radius;
}

std::vector<bool> OverlappingZones(std::span<const Zone> zones)
{
    std::vector<bool> overlapping(zones.size(), false);
    const ZoneGrid grid(zones);
    for (std::size_t i = 0; i < zones.size(); ++i) {
        if (overlapping[i])
            continue;
        grid.Neighbours(i, [&](std::size_t j) {
            overlapping[i] = overlapping[j] = true;
            return false;
        });
    }
    return overlapping;
}

} // namespace uzuviv
