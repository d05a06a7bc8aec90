#pragma once

#include <string>

#include "files/InOutError.h"
#include "files/ProgressSink.h"
#include "model/ProjectClasses.h"

namespace uzuviv {

// KML 2.2 for Google Earth and other viewers: one folder holding, for every point, a placemark
// with the point and one of the same name with its trigger zone, the geodesic circle of its
// tolerance. Throws ExportRefusal (files/Exchange.h) before anything is written when the
// project holds something KML cannot hold; InOutError when the file cannot be written.
void WriteKmlFile(const std::string& path, const TProjectType& project, ProgressSink& progress);

// Vertices of a trigger zone's circle (the ring repeats the first at its end).
constexpr int ZoneVertices = 64;

} // namespace uzuviv
