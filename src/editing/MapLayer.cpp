#include "editing/MapLayer.h"

#include <algorithm>
#include <cmath>
#include <type_traits>


namespace uzuviv {

void MapLayer::Rebuild(const TProjectType* project)
{
    static const std::vector<TGPSRecord> none;
    const std::vector<TGPSRecord>& records = project ? project->Records : none;
    const std::size_t count = records.size(), before = world_.size();
    const auto same = [&](std::size_t row, std::size_t old) {
        const TGPSRecord& record = records[row];
        return positions_[old].Latitude == static_cast<double>(record.Latitude) &&
               positions_[old].Longitude == static_cast<double>(record.Longitude) &&
               tolerances_[old] == record.Tolerance && modes_[old] == record.Mode;
    };
    // The rows that differ lie between an unchanged beginning and an unchanged end.
    std::size_t first = 0, last = 0;
    while (first < std::min(count, before) && same(first, first))
        ++first;
    while (last < std::min(count, before) - first && same(count - 1 - last, before - 1 - last))
        ++last;
    const std::size_t removed = before - first - last, added = count - first - last;
    const auto splice = [&](auto& values) {
        using Value = typename std::decay_t<decltype(values)>::value_type;
        const auto at = values.begin() + static_cast<std::ptrdiff_t>(first);
        values.insert(values.erase(at, at + static_cast<std::ptrdiff_t>(removed)), added, Value{});
    };
    splice(world_);
    splice(positions_);
    splice(tolerances_);
    splice(zoneRadii_);
    splice(modes_);
    std::vector<Zone> zones(added);
    for (std::size_t i = first; i < first + added; ++i) {
        const TGPSRecord& record = records[i];
        positions_[i] = {static_cast<double>(record.Latitude), static_cast<double>(record.Longitude)};
        world_[i] = LatLonToWorld(positions_[i], 0);
        tolerances_[i] = record.Tolerance;
        zoneRadii_[i] = record.Tolerance > 0 ? record.Tolerance / MetresPerPixel(positions_[i].Latitude, 0) : 0;
        modes_[i] = record.Mode;
        zones[i - first] = {positions_[i], tolerances_[i]};
    }
    if (overlaps_.Size() != before || before == 0)
        overlaps_.Assign({});
    overlaps_.Replace(first, removed, zones);
}

MapHit MapLayer::HitTest(const MapViewport& view, ViewPoint at, const RowSelection& selection) const
{
    const double scale = std::exp2(view.Zoom);
    const WorldPoint corner = view.TopLeft();
    MapHit best;
    int bestRank = -1;
    for (std::size_t row = 0; row < world_.size(); ++row) {
        const double dx = world_[row].X * scale - corner.X - at.X;
        const double dy = world_[row].Y * scale - corner.Y - at.Y;
        const double distance = std::hypot(dx, dy);
        MapTarget target = MapTarget::None;
        if (distance <= MarkerRadius) {
            target = MapTarget::Marker;
        } else if (zoneRadii_[row] > 0) {
            const double radius = zoneRadii_[row] * scale;
            if (std::abs(distance - radius) <= RimReach)
                target = MapTarget::Rim;
        }
        if (target == MapTarget::None)
            continue;
        // Later rows are drawn over earlier ones, selected ones over all.
        const int rank = (target == MapTarget::Marker ? 2 : 0) + (selection.Contains(row) ? 1 : 0);
        if (rank >= bestRank) {
            bestRank = rank;
            best = {target, row};
        }
    }
    return best;
}

std::optional<MapLayer::Box> MapLayer::Bounds(const RowSelection& rows) const
{
    std::optional<Box> box;
    const auto take = [&](std::size_t row) {
        const LatLon p = positions_[row];
        if (!std::isfinite(p.Latitude) || !std::isfinite(p.Longitude))
            return;
        if (!box) {
            box = Box{p, p};
            return;
        }
        box->SouthWest = {std::min(box->SouthWest.Latitude, p.Latitude), std::min(box->SouthWest.Longitude, p.Longitude)};
        box->NorthEast = {std::max(box->NorthEast.Latitude, p.Latitude), std::max(box->NorthEast.Longitude, p.Longitude)};
    };
    if (rows.Empty()) {
        for (std::size_t row = 0; row < positions_.size(); ++row)
            take(row);
    } else {
        for (const RowSelection::Range& range : rows.Ranges())
            for (std::size_t row = range.First; row <= range.Last && row < positions_.size(); ++row)
                take(row);
    }
    return box;
}

} // namespace uzuviv
