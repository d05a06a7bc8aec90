// The GPS file reader on any bytes. A file it reads must write and read back: after one write
// the coordinates carry the six decimals the file holds, and from then on a write and a read
// change nothing at all.
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "FuzzSupport.h"
#include "files/UnitOfCodes.h"
#include "model/NumberText.h"

using namespace uzuviv;

namespace {

TProjectType Prefilled()
{
    TProjectType project;
    project.ProjectName = "Imported Project";
    project.Records.push_back(TGPSRecord{12.5L, -3.25L, 20, 2, 7, "kept"});
    return project;
}

// Six decimals keep a value to within half a millionth, or to 18 significant digits when the
// value is too large for its six decimals to count.
bool CloseAtSixDecimals(Extended written, Extended original)
{
    return std::fabs(written - original) <= 0.5e-6L + std::fabs(original) * 1e-17L;
}

TProjectType WriteAndRead(const TProjectType& project, const fuzz::ScratchFile& file)
{
    fuzz::CheckingProgress progress;
    WriteGPSFile(file.Path(), project, progress);
    progress.CheckClosed();
    TProjectType read;
    ReadGPSFile(file.Path(), read, progress);
    progress.CheckClosed();
    return read;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const fuzz::ScratchFile input("import.csv");
    static const fuzz::ScratchFile written("gps.csv");
    input.Write(data, size);

    const TProjectType before = Prefilled();
    TProjectType project = before;
    fuzz::CheckingProgress progress;
    try {
        ReadGPSFile(input.Path(), project, progress);
    } catch (const InOutError&) {
        progress.CheckClosed();
        return 0;
    } catch (const ConversionError&) {
        progress.CheckClosed();
        return 0;
    }
    progress.CheckClosed();

    // Only the points change, and only by the new ones at the end.
    FUZZ_CHECK(project.Records.size() >= 1);
    FUZZ_CHECK(!RecordsDiffer(project.Records[0], before.Records[0]));
    FUZZ_CHECK(project.ProjectName == before.ProjectName);
    FUZZ_CHECK(project.ProjectComments == before.ProjectComments);
    project.Records.erase(project.Records.begin());
    for (const TGPSRecord& record : project.Records) {
        FUZZ_CHECK(fuzz::IsOneLine(record.Comments));
        FUZZ_CHECK(record.Comments.find(';') == std::string::npos);
    }

    const TProjectType once = WriteAndRead(project, written);
    FUZZ_CHECK(once.Records.size() == project.Records.size());
    for (std::size_t i = 0; i < project.Records.size(); ++i) {
        const TGPSRecord& a = project.Records[i];
        const TGPSRecord& b = once.Records[i];
        FUZZ_CHECK(CloseAtSixDecimals(b.Latitude, a.Latitude));
        FUZZ_CHECK(CloseAtSixDecimals(b.Longitude, a.Longitude));
        FUZZ_CHECK(a.Tolerance == b.Tolerance && a.Mode == b.Mode && a.FileRef == b.FileRef);
        FUZZ_CHECK(a.Comments == b.Comments);
    }
    const std::string firstBytes = written.Read();
    const TProjectType twice = WriteAndRead(once, written);
    FUZZ_CHECK(!ProjectsDiffer(once, twice));
    FUZZ_CHECK(written.Read() == firstBytes);
    return 0;
}
