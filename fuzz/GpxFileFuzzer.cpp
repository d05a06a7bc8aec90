// The GPX reader on any bytes. A refused file leaves the project untouched; a file it reads
// gives texts the model can hold, and its project writes and reads back exactly (or, when a
// coordinate is beyond what GPX holds, the export is refused and nothing is written).
#include <cstddef>
#include <cstdint>
#include <unistd.h>

#include "FuzzSupport.h"
#include "files/Cp1252.h"
#include "files/Exchange.h"
#include "files/GpxFile.h"
#include "files/KmlFile.h"
#include "model/NumberText.h"

using namespace uzuviv;

namespace {

TProjectType Prefilled()
{
    TProjectType project;
    project.ProjectName = "Imported Project";
    project.Subject = "kept unless the file has one";
    project.Records.push_back(TGPSRecord{12.5L, -3.25L, 20, 2, 7, "kept"});
    return project;
}

bool Holdable(const std::string& text) { return fuzz::IsOneLine(text) && FitsCp1252(std::string_view(text)); }

bool AllHoldable(const TProjectType& project)
{
    for (const std::string* text : {&project.ProjectName, &project.Subject, &project.Author,
                                    &project.Copyright, &project.Customer, &project.CreationDate})
        if (!Holdable(*text))
            return false;
    for (const std::string& line : project.ProjectComments)
        if (!Holdable(line))
            return false;
    for (const TGPSRecord& record : project.Records)
        if (!Holdable(record.Comments))
            return false;
    return true;
}

// Writes with `write`; false when refused, which must leave no file behind.
template <typename Write>
bool Written(Write write, const TProjectType& project, const fuzz::ScratchFile& file)
{
    ::unlink(file.Path().c_str());
    fuzz::CheckingProgress progress;
    try {
        write(file.Path(), project, progress);
    } catch (const ExportRefusal&) {
        progress.CheckClosed();
        FUZZ_CHECK(::access(file.Path().c_str(), F_OK) != 0);
        return false;
    }
    progress.CheckClosed();
    return true;
}

TProjectType ReadBack(const fuzz::ScratchFile& file)
{
    TProjectType read;
    fuzz::CheckingProgress progress;
    ReadGpxFile(file.Path(), read, progress);
    progress.CheckClosed();
    return read;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const fuzz::ScratchFile input("import.gpx");
    static const fuzz::ScratchFile written("export.gpx");
    static const fuzz::ScratchFile kml("export.kml");
    input.Write(data, size);

    const TProjectType before = Prefilled();
    TProjectType project = before;
    fuzz::CheckingProgress progress;
    try {
        ReadGpxFile(input.Path(), project, progress);
    } catch (const ConversionError&) {
        progress.CheckClosed();
        FUZZ_CHECK(!ProjectsDiffer(project, before));
        return 0;
    }
    progress.CheckClosed();
    FUZZ_CHECK(project.Records.size() >= 1);
    FUZZ_CHECK(!RecordsDiffer(project.Records[0], before.Records[0]));
    FUZZ_CHECK(AllHoldable(project));

    if (!Written(WriteGpxFile, project, written))
        return 0;
    const std::string firstBytes = written.Read();
    const TProjectType once = ReadBack(written);
    FUZZ_CHECK(!ProjectsDiffer(once, project));
    FUZZ_CHECK(Written(WriteGpxFile, once, written));
    FUZZ_CHECK(written.Read() == firstBytes);
    // Each point costs 64 geodesics in KML: only small projects.
    if (project.Records.size() <= 32)
        FUZZ_CHECK(Written(WriteKmlFile, project, kml));
    return 0;
}
