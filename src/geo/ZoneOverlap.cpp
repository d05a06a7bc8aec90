#include "geo/ZoneOverlap.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <unordered_map>

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

// Zones sorted into cubes of space at least as wide as the largest overlap distance, so every
// zone that may overlap a given one lies in its cube or one of the 26 around it.
class ZoneOverlaps::Grid {
public:
    explicit Grid(double largest) : largest_(largest), cube_((2 * largest) * (1 + 2 * Slack) + 1) {}

    // Whether a zone this large still finds all its neighbours in the cubes around it.
    bool Holds(const Zone& zone) const { return !HasZone(zone) || zone.Radius <= largest_; }

    std::vector<Point3>& Points() { return points_; }

    void Insert(std::span<const Zone> zones, std::size_t i)
    {
        if (HasZone(zones[i]))
            cells_[KeyOf(points_[i])].push_back(static_cast<std::uint32_t>(i));
    }

    void Erase(std::span<const Zone> zones, std::size_t i)
    {
        if (!HasZone(zones[i]))
            return;
        const auto cell = cells_.find(KeyOf(points_[i]));
        if (cell == cells_.end())
            return;
        std::vector<std::uint32_t>& members = cell->second;
        const auto it = std::find(members.begin(), members.end(), static_cast<std::uint32_t>(i));
        if (it != members.end()) {
            *it = members.back();
            members.pop_back();
        }
    }

    // The zones from `first` on have moved by `by` places.
    void Shift(std::size_t first, std::ptrdiff_t by)
    {
        for (auto& [key, members] : cells_)
            for (std::uint32_t& member : members)
                if (member >= first)
                    member = static_cast<std::uint32_t>(static_cast<std::ptrdiff_t>(member) + by);
    }

    // Calls `visit(j)` for every other zone that overlaps zone i, until it returns false.
    template <typename Visit>
    void Neighbours(std::span<const Zone> zones, std::size_t i, Visit visit) const
    {
        if (!HasZone(zones[i]))
            return;
        const Point3& p = points_[i];
        const std::int64_t cx = Cell(p.X), cy = Cell(p.Y), cz = Cell(p.Z);
        for (std::int64_t dx = -1; dx <= 1; ++dx)
            for (std::int64_t dy = -1; dy <= 1; ++dy)
                for (std::int64_t dz = -1; dz <= 1; ++dz) {
                    const auto cell = cells_.find(Key(cx + dx, cy + dy, cz + dz));
                    if (cell == cells_.end())
                        continue;
                    for (const std::uint32_t j : cell->second)
                        if (j != i && Overlap(zones, i, j) && !visit(j))
                            return;
                }
    }

private:
    std::int64_t Cell(double coordinate) const { return static_cast<std::int64_t>(std::floor(coordinate / cube_)); }
    std::uint64_t KeyOf(const Point3& p) const { return Key(Cell(p.X), Cell(p.Y), Cell(p.Z)); }
    static std::uint64_t Key(std::int64_t x, std::int64_t y, std::int64_t z)
    {
        // 21 bits per axis hold any cube of a metre or more across the Earth.
        const auto bits = [](std::int64_t v) { return static_cast<std::uint64_t>(v + (1 << 20)) & 0x1FFFFF; };
        return bits(x) << 42 | bits(y) << 21 | bits(z);
    }

    bool Overlap(std::span<const Zone> zones, std::size_t i, std::size_t j) const
    {
        const double reach = zones[i].Radius + zones[j].Radius;
        const double chord = Chord(points_[i], points_[j]);
        if (chord > reach * (1 + Slack) + 1e-3)
            return false;
        if (chord < reach * (1 - Slack))
            return true;
        return ZonesOverlap(zones[i], zones[j]);
    }

    double largest_;
    double cube_;
    std::vector<Point3> points_;
    std::unordered_map<std::uint64_t, std::vector<std::uint32_t>> cells_;
};

ZoneOverlaps::ZoneOverlaps() = default;
ZoneOverlaps::~ZoneOverlaps() = default;
ZoneOverlaps::ZoneOverlaps(ZoneOverlaps&&) noexcept = default;
ZoneOverlaps& ZoneOverlaps::operator=(ZoneOverlaps&&) noexcept = default;

void ZoneOverlaps::Assign(std::span<const Zone> zones)
{
    zones_.assign(zones.begin(), zones.end());
    double largest = 0;
    for (const Zone& zone : zones)
        if (HasZone(zone))
            largest = std::max(largest, zone.Radius);
    grid_ = std::make_unique<Grid>(largest);
    std::vector<Point3>& points = grid_->Points();
    points.resize(zones.size());
    for (std::size_t i = 0; i < zones.size(); ++i) {
        points[i] = OnSphere(zones[i].Centre);
        grid_->Insert(zones_, i);
    }
    flags_.assign(zones.size(), false);
    for (std::size_t i = 0; i < zones.size(); ++i) {
        if (flags_[i])
            continue;
        grid_->Neighbours(zones_, i, [&](std::size_t j) {
            flags_[i] = flags_[j] = true;
            return false;
        });
    }
}

void ZoneOverlaps::Replace(std::size_t first, std::size_t removed, std::span<const Zone> inserted)
{
    first = std::min(first, zones_.size());
    removed = std::min(removed, zones_.size() - first);
    const bool fits = grid_ && std::all_of(inserted.begin(), inserted.end(), [&](const Zone& z) { return grid_->Holds(z); });
    // Large changes are cheaper all at once.
    if (!fits || removed + inserted.size() > zones_.size() / 8 + 64) {
        std::vector<Zone> zones(zones_.begin(), zones_.begin() + static_cast<std::ptrdiff_t>(first));
        zones.insert(zones.end(), inserted.begin(), inserted.end());
        zones.insert(zones.end(), zones_.begin() + static_cast<std::ptrdiff_t>(first + removed), zones_.end());
        Assign(zones);
        return;
    }
    const std::size_t end = first + removed;
    // The neighbours of the removed zones may have lost their only overlap.
    std::vector<std::size_t> recheck;
    for (std::size_t i = first; i < end; ++i) {
        if (flags_[i])
            grid_->Neighbours(zones_, i, [&](std::size_t j) {
                if (j < first || j >= end)
                    recheck.push_back(j);
                return true;
            });
        grid_->Erase(zones_, i);
    }
    const auto by = static_cast<std::ptrdiff_t>(inserted.size()) - static_cast<std::ptrdiff_t>(removed);
    if (by != 0) {
        grid_->Shift(end, by);
        for (std::size_t& j : recheck)
            if (j >= end)
                j = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(j) + by);
    }
    const auto at = static_cast<std::ptrdiff_t>(first), to = static_cast<std::ptrdiff_t>(end);
    zones_.erase(zones_.begin() + at, zones_.begin() + to);
    zones_.insert(zones_.begin() + at, inserted.begin(), inserted.end());
    flags_.erase(flags_.begin() + at, flags_.begin() + to);
    flags_.insert(flags_.begin() + at, inserted.size(), false);
    std::vector<Point3>& points = grid_->Points();
    points.erase(points.begin() + at, points.begin() + to);
    points.insert(points.begin() + at, inserted.size(), Point3{});
    for (std::size_t i = first; i < first + inserted.size(); ++i) {
        points[i] = OnSphere(zones_[i].Centre);
        grid_->Insert(zones_, i);
    }
    for (const std::size_t j : recheck)
        flags_[j] = false;
    for (std::size_t i = first; i < first + inserted.size(); ++i)
        grid_->Neighbours(zones_, i, [&](std::size_t j) {
            flags_[i] = flags_[j] = true;
            return true;
        });
    for (const std::size_t j : recheck)
        if (!flags_[j])
            grid_->Neighbours(zones_, j, [&](std::size_t) {
                flags_[j] = true;
                return false;
            });
}

std::vector<bool> OverlappingZones(std::span<const Zone> zones)
{
    ZoneOverlaps overlaps;
    overlaps.Assign(zones);
    return overlaps.Flags();
}

} // namespace uzuviv
