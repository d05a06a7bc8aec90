#include "editing/MapLayer.h"

#include <algorithm>
#include <cmath>

#include "geo/ZoneOverlap.h"

namespace uzuviv {

void MapLayer::Rebuild(const TProjectType* project)
{
    const std::size_t count = project ? project->Records.size() : 0;
    world_.resize(count);
    positions_.resize(count);
    tolerances_.resize(count);
    zoneRadii_.resize(count);
    modes_.resize(count);
    std::vector<Zone> zones(count);
    for (std::size_t i = 0; i < count; ++i) {
        const TGPSRecord& record = project->Records[i];
        positions_[i] = {static_cast<double>(record.Latitude), static_cast<double>(record.Longitude)};
        world_[i] = LatLonToWorld(positions_[i], 0);
        tolerances_[i] = record.Tolerance;
        zoneRadii_[i] = record.Tolerance > 0 ? record.Tolerance / MetresPerPixel(positions_[i].Latitude, 0) : 0;
        modes_[i] = record.Mode;
        zones[i] = {positions_[i], tolerances_[i]};
    }
    overlaps_ = OverlappingZones(zones);
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
