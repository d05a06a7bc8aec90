#pragma once

#include <stdexcept>
#include <string>

#include "model/ProjectClasses.h"

namespace uzuviv {

// A failed file operation, by the runtime's input/output code (2 file not found, 3 invalid
// name, 4 too many open files, 5 access denied, 100 read past the end, 101 disk full,
// 106 invalid numeric input, others "Erreur E/S n"). what() is the French text.
class InOutError : public std::runtime_error {
public:
    explicit InOutError(int code);
    int Code() const { return code_; }

private:
    int code_;
};

struct ProgressSink {
    virtual ~ProgressSink() = default;
    virtual void Show(const std::string& caption) = 0;   // caption, progress 0, show
    virtual void SetProgress(int percent) = 0;
    virtual void Close() = 0;
};

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
