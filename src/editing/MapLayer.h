#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "editing/RowSelection.h"
#include "geo/WebMercator.h"
#include "geo/ZoneOverlap.h"
#include "model/ProjectClasses.h"

namespace uzuviv {

// Sizes of what the map draws, in pixels.
inline constexpr double MarkerRadius = 9;
// How far from a zone's rim a press still takes the rim.
inline constexpr double RimReach = 5;

enum class MapTarget { None, Marker, Rim };

struct MapHit {
    MapTarget Target = MapTarget::None;
    std::size_t Row = 0;
    bool operator==(const MapHit&) const = default;
};

// The project's points as the map needs them: their places on the world at zoom 0, kept from
// one change of the records to the next so that drawing and hit testing never convert
// coordinates again, and which zones overlap another.
class MapLayer {
public:
    // After any change of the records. Only the rows between the first and the last that
    // differ from the last rebuild are worked out again, and the overlaps only near them.
    void Rebuild(const TProjectType* project);

    std::size_t Count() const { return world_.size(); }
    // The place of point `row` in world pixels at `zoom`.
    WorldPoint World(std::size_t row, double zoom) const
    {
        const double scale = std::exp2(zoom);
        return {world_[row].X * scale, world_[row].Y * scale};
    }
    LatLon Position(std::size_t row) const { return positions_[row]; }
    double Tolerance(std::size_t row) const { return tolerances_[row]; }
    std::uint8_t Mode(std::size_t row) const { return modes_[row]; }
    bool Overlaps(std::size_t row) const { return overlaps_.Overlaps(row); }
    // The radius of the point's zone in pixels at `zoom`: its tolerance over the metres that a
    // pixel covers at its latitude.
    double ZoneRadius(std::size_t row, double zoom) const { return zoneRadii_[row] * std::exp2(zoom); }

    // What a press at `at` takes: a marker before a rim, a selected one before the others, then
    // the one drawn last (the highest number).
    MapHit HitTest(const MapViewport& view, ViewPoint at, const RowSelection& selection) const;

    // The box around the points of `rows` (all points when empty), or nothing without points.
    struct Box {
        LatLon SouthWest, NorthEast;
    };
    std::optional<Box> Bounds(const RowSelection& rows) const;

private:
    std::vector<WorldPoint> world_;    // world pixels at zoom 0
    std::vector<LatLon> positions_;
    std::vector<double> tolerances_;
    std::vector<double> zoneRadii_;   // pixels at zoom 0
    std::vector<std::uint8_t> modes_;
    ZoneOverlaps overlaps_;
};

} // namespace uzuviv
