// The project file reader on any bytes. A file it accepts must save and read back: after one
// save the coordinates carry the 15 digits the file holds, and from then on a save and a read
// change nothing at all.
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "FuzzSupport.h"
#include "files/UnitOfCodes.h"
#include "model/NumberText.h"

using namespace uzuviv;

namespace {

// What the caller hands over: the reader must not touch it unless the file is read completely.
TProjectType Prefilled()
{
    TProjectType project;
    project.ProjectName = "Before";
    project.Records.push_back(TGPSRecord{12.5L, -3.25L, 20, 2, 7, "kept"});
    return project;
}

bool SameExceptCoordinates(const TProjectType& a, const TProjectType& b)
{
    if (a.ProjectName != b.ProjectName || a.Subject != b.Subject || a.Author != b.Author
        || a.Copyright != b.Copyright || a.Customer != b.Customer || a.CreationDate != b.CreationDate
        || a.ProjectComments != b.ProjectComments || a.Records.size() != b.Records.size())
        return false;
    for (std::size_t i = 0; i < a.Records.size(); ++i) {
        const TGPSRecord& x = a.Records[i];
        const TGPSRecord& y = b.Records[i];
        if (x.Tolerance != y.Tolerance || x.Mode != y.Mode || x.FileRef != y.FileRef
            || x.Comments != y.Comments)
            return false;
    }
    return true;
}

// 15 significant digits keep a value to within half a unit of the 15th digit.
bool CloseAt15Digits(Extended written, Extended original)
{
    return std::fabs(written - original) <= std::fabs(original) * 1e-14L;
}

TProjectType SaveAndLoad(const TProjectType& project, const fuzz::ScratchFile& file)
{
    fuzz::CheckingProgress progress;
    SaveProjectFile(file.Path(), project, progress);
    progress.CheckClosed();
    TProjectType loaded;
    const ProjectFileLoad load = LoadProjectFile(file.Path(), loaded, progress);
    progress.CheckClosed();
    FUZZ_CHECK(load.Version == ProjectFileVersion::Accepted);
    FUZZ_CHECK(load.VersionText == "1.0.0");
    return loaded;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const fuzz::ScratchFile input("project.gps");
    static const fuzz::ScratchFile resaved("resaved.gps");
    input.Write(data, size);

    const TProjectType before = Prefilled();
    TProjectType project = before;
    fuzz::CheckingProgress progress;
    ProjectFileLoad load{};
    try {
        load = LoadProjectFile(input.Path(), project, progress);
    } catch (const InOutError&) {
        progress.CheckClosed();
        FUZZ_CHECK(!ProjectsDiffer(project, before));
        return 0;
    } catch (const ConversionError&) {
        progress.CheckClosed();
        FUZZ_CHECK(!ProjectsDiffer(project, before));
        return 0;
    }
    progress.CheckClosed();
    if (load.Version != ProjectFileVersion::Accepted) {
        FUZZ_CHECK(!ProjectsDiffer(project, before));
        return 0;
    }

    // The points are appended after the ones the caller had.
    FUZZ_CHECK(project.Records.size() >= before.Records.size());
    FUZZ_CHECK(!RecordsDiffer(project.Records[0], before.Records[0]));
    project.Records.erase(project.Records.begin());
    for (const std::string* text : {&project.ProjectName, &project.Subject, &project.Author,
                                    &project.Copyright, &project.Customer, &project.CreationDate})
        FUZZ_CHECK(fuzz::IsOneLine(*text));
    for (const std::string& line : project.ProjectComments)
        FUZZ_CHECK(fuzz::IsOneLine(line));

    const TProjectType once = SaveAndLoad(project, resaved);
    FUZZ_CHECK(SameExceptCoordinates(project, once));
    for (std::size_t i = 0; i < project.Records.size(); ++i) {
        FUZZ_CHECK(CloseAt15Digits(once.Records[i].Latitude, project.Records[i].Latitude));
        FUZZ_CHECK(CloseAt15Digits(once.Records[i].Longitude, project.Records[i].Longitude));
    }
    const std::string firstBytes = resaved.Read();
    const TProjectType twice = SaveAndLoad(once, resaved);
    FUZZ_CHECK(!ProjectsDiffer(once, twice));
    FUZZ_CHECK(resaved.Read() == firstBytes);
    return 0;
}
