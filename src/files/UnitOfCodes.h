#pragma once

#include <string>

#include "files/InOutError.h"
#include "files/ProgressSink.h"
#include "model/ProjectClasses.h"

namespace uzuviv {

// The project file (ProjectFile.cpp) and the GPS file (GPSFile.cpp).

enum class ProjectFileVersion { Accepted, TooNew, Unknown };
struct ProjectFileLoad {
    ProjectFileVersion Version;
    std::string VersionText;   // line 3 as read
};

void SaveProjectFile(const std::string& path, const TProjectType& project, ProgressSink& progress);
// Overwrites the properties and comment lines and appends the points; a refusal or a failure
// leaves `project` untouched.
ProjectFileLoad LoadProjectFile(const std::string& path, TProjectType& project,
                                ProgressSink& progress);
void WriteGPSFile(const std::string& path, const TProjectType& project, ProgressSink& progress);
void ReadGPSFile(const std::string& path, TProjectType& project, ProgressSink& progress);

} // namespace uzuviv
