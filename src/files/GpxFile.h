#pragma once

#include <string>

#include "files/InOutError.h"
#include "files/ProgressSink.h"
#include "model/ProjectClasses.h"

namespace uzuviv {

// GPX 1.1, written losslessly for the program's own projects (tolerance, mode, file reference
// and the properties GPX has no place for go into extensions under the program's namespace),
// and read from any GPX 1.0 or 1.1 file.

// Throws ExportRefusal (files/Exchange.h) before anything is written when the project holds
// something GPX cannot hold; InOutError when the file cannot be written.
void WriteGpxFile(const std::string& path, const TProjectType& project, ProgressSink& progress);

// Replaces the properties and comment lines that the file's metadata carries and appends its
// waypoints, route points and track points in file order. Throws InOutError for the file
// system and ConversionError, naming the line and column, for what it cannot read; a failure
// leaves `project` untouched.
void ReadGpxFile(const std::string& path, TProjectType& project, ProgressSink& progress);

} // namespace uzuviv
