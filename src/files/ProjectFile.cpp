#include "files/UnitOfCodes.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

#include "files/Cp1252.h"
#include "files/FileFields.h"
#include "files/TextFile.h"
#include "model/CoordinateFormats.h"
#include "model/NumberText.h"

namespace uzuviv {

namespace {

constexpr std::string_view ProjectHeader = "DAV Uzuviv Project File of OVRA";
constexpr std::string_view VersionLabel = "File version : ";
constexpr std::string_view ProjectFileVersionText = "1.0.0";
constexpr std::string_view Separator = "*****";
constexpr int SavingCaption = 1;
constexpr int OpeningCaption = 5;

ProjectFileLoad CheckVersion(std::string_view line)
{
    const std::string versionText = Cp1252ToUtf8(line);
    std::array<int, 3> digits{};
    bool complete = true;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        const std::size_t position = 2 * i;
        if (position < line.size())
            digits[i] = ReadInteger(line.substr(position, 1));
        else
            complete = false;
    }
    if (!complete)
        return {ProjectFileVersion::Unknown, versionText};
    if (100 * digits[0] + 10 * digits[1] + digits[2] > 100)
        return {ProjectFileVersion::TooNew, versionText};
    if (digits[0] != 1 || digits[1] != 0 || digits[2] != 0)
        return {ProjectFileVersion::Unknown, versionText};
    return {ProjectFileVersion::Accepted, versionText};
}

} // namespace

void SaveProjectFile(const std::string& path, const TProjectType& project, ProgressSink& progress)
{
    AtomicTextWriter writer(path);
    writer.WriteLine(ProjectHeader);
    writer.WriteLine(VersionLabel);
    writer.WriteLine(ProjectFileVersionText);
    writer.WriteLine(Separator);
    for (const std::string* property : {&project.ProjectName, &project.Subject, &project.Author,
                                        &project.Copyright, &project.Customer,
                                        &project.CreationDate})
        writer.WriteLine(FieldBytes(*property));
    writer.WriteLine(std::to_string(project.ProjectComments.size()));
    for (const std::string& line : project.ProjectComments)
        writer.WriteLine(FieldBytes(line));
    writer.WriteLine(Separator);
    const auto count = static_cast<std::int64_t>(project.Records.size());
    writer.WriteLine(std::to_string(count));
    writer.WriteLine(Separator);

    ProgressScope scope(progress, SavingCaption);
    std::int64_t done = 0;
    // The seven lines of a point formatted straight into the writer's block.
    constexpr std::size_t NumbersRoom = 2 * CoordinateTextRoom + 3 * PaddedIntegerRoom(1)
                                        + Separator.size() + 6 * 2;
    const auto endLine = [](char* out) {
        *out++ = '\r';
        *out++ = '\n';
        return out;
    };
    for (const TGPSRecord& record : project.Records) {
        char* out = writer.BeginLine(NumbersRoom + record.Comments.size());
        out = endLine(PutCoordinateText(out, record.Latitude));
        out = endLine(PutCoordinateText(out, record.Longitude));
        out = endLine(PutPaddedInteger(out, record.Tolerance, 1));
        out = endLine(PutPaddedInteger(out, record.Mode, 1));
        out = endLine(PutPaddedInteger(out, record.FileRef, 1));
        out = endLine(PutFieldBytes(out, record.Comments));
        out = std::copy(Separator.begin(), Separator.end(), out);
        writer.EndLine(out);
        scope.Step(++done, count);
    }
    scope.Close();
    writer.Commit();
}

ProjectFileLoad LoadProjectFile(const std::string& path, TProjectType& project,
                                ProgressSink& progress)
{
    LineReader reader(path);
    reader.ReadLine();
    reader.ReadLine();
    const ProjectFileLoad version = CheckVersion(reader.ReadLine());
    if (version.Version != ProjectFileVersion::Accepted)
        return version;
    reader.ReadLine();

    // Read into a project of our own: a failure part-way leaves the caller's project as it was.
    TProjectType loaded;
    for (std::string* property : {&loaded.ProjectName, &loaded.Subject, &loaded.Author,
                                  &loaded.Copyright, &loaded.Customer, &loaded.CreationDate})
        *property = Cp1252ToUtf8(reader.ReadLine());
    // Counts come from the file and are never trusted for an allocation: every line read
    // consumes input, so a false count ends at the end of the file.
    const std::int32_t commentCount = ReadInteger(reader.ReadLine());
    loaded.ProjectComments.clear();
    for (std::int32_t i = 0; i < commentCount; ++i)
        loaded.ProjectComments.push_back(Cp1252ToUtf8(reader.ReadLine()));
    reader.ReadLine();
    const std::int32_t pointCount = ReadInteger(reader.ReadLine());
    reader.ReadLine();

    // A point takes eleven bytes at the least, so the file's size bounds the room taken.
    if (pointCount > 0)
        ReserveRecords(loaded.Records, std::min(static_cast<std::size_t>(pointCount), reader.FileSize() / 11 + 1));

    ProgressScope scope(progress, OpeningCaption);
    for (std::int32_t i = 1; i <= pointCount; ++i) {
        TGPSRecord& record = loaded.Records.emplace_back();
        record.Latitude = ReadDecimal(reader.ReadLine());
        record.Longitude = ReadDecimal(reader.ReadLine());
        record.Tolerance = Word(ReadInteger(reader.ReadLine()));
        record.Mode = Byte(ReadInteger(reader.ReadLine()));
        record.FileRef = Word(ReadInteger(reader.ReadLine()));
        record.Comments = Cp1252ToUtf8(reader.ReadLine());
        reader.ReadLine();
        scope.Step(i, pointCount);
    }
    scope.Close();

    project.ProjectName = std::move(loaded.ProjectName);
    project.Subject = std::move(loaded.Subject);
    project.Author = std::move(loaded.Author);
    project.Copyright = std::move(loaded.Copyright);
    project.Customer = std::move(loaded.Customer);
    project.CreationDate = std::move(loaded.CreationDate);
    project.ProjectComments = std::move(loaded.ProjectComments);
    AppendRecords(project.Records, std::move(loaded.Records));
    return version;
}

} // namespace uzuviv
