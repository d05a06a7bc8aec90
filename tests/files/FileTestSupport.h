#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "files/UnitOfCodes.h"

namespace uzuviv::filetest {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

// The project of tests/data/sample-project.gps and sample-project.gpx.
inline TProjectType SampleProject()
{
    TProjectType project;
    project.ProjectName = "Sample";
    project.Subject = "Ch\xC3\xA2teau tour";
    project.Copyright = "(c) OVRA";
    project.CreationDate = "2024-05-01";
    project.Records.push_back({48.8566L, 2.3522L, 100, 2, 7, "Gate"});
    return project;
}

// Joins lines, each followed by `end`.
inline std::string Lines(const std::vector<std::string>& lines, const std::string& end = "\r\n")
{
    std::string text;
    for (const std::string& line : lines)
        text += line + end;
    return text;
}

// Records the calls in order: "Show <caption>", the percentages, "Close".
class RecordingProgress : public ProgressSink {
public:
    void Show(const std::string& caption) override { Events.push_back("Show " + caption); }
    void SetProgress(int percent) override { Events.push_back(std::to_string(percent)); }
    void Close() override { Events.push_back("Close"); }

    int Count(const std::string& event) const
    {
        int count = 0;
        for (const std::string& e : Events)
            count += e == event;
        return count;
    }
    int Shows() const
    {
        int count = 0;
        for (const std::string& e : Events)
            count += e.starts_with("Show ");
        return count;
    }

    std::vector<std::string> Events;
};

} // namespace uzuviv::filetest
