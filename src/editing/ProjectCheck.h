#pragma once

#include <cstddef>
#include <vector>

#include "model/ProjectClasses.h"

namespace uzuviv {

// The mistakes that do not show in a list of numbers.
enum class FindingKind { OverlappingZones, SharedFileReference, OutOfRange, FarFromOthers };

struct ProjectFinding {
    FindingKind Kind;
    std::vector<std::size_t> Points;   // 0-based positions, ascending
    double Meters;                     // the distance the finding is about, else 0
};

// Every finding of the project, sorted by kind (in the order above), then by points.
// Distances are geodesic on the WGS84 ellipsoid; a point whose coordinates are out of range
// takes part in no distance rule.
std::vector<ProjectFinding> CheckProject(const TProjectType& project);

// The values of a point that the device cannot use, as point-list columns in order:
// 1 latitude, 2 longitude, 3 tolerance, 4 mode, 5 file reference.
std::vector<int> OutOfRangeColumns(const TGPSRecord& record);

} // namespace uzuviv
