#include "files/UnitOfCodes.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <cstdint>
#include <iterator>
#include <utility>

#include "files/Cp1252.h"
#include "files/TextFile.h"
#include "model/CoordinateFormats.h"
#include "model/NumberText.h"
#include "text/text.h"

namespace uzuviv {

namespace {

constexpr std::string_view ProjectHeader = "DAV Uzuviv Project File of OVRA";
constexpr std::string_view VersionLabel = "File version : ";
constexpr std::string_view ProjectFileVersionText = "1.0.0";
constexpr std::string_view Separator = "*****";
constexpr std::string_view GPSHeader =
    "Num;Latitude(D.d);Longitude(D.d);Tolerance;Mode;File;Comments...";
constexpr int SavingCaption = 1;
constexpr int OpeningCaption = 5;
constexpr int GPSCaption = 6;

// Shows the progress window and guarantees exactly one Close for it, on every path.
class ProgressScope {
public:
    ProgressScope(ProgressSink& sink, int captionItem) : sink_(sink)
    {
        sink_.Show(LanguageText(TextTable::ProgressTexts, captionItem));
    }
    ~ProgressScope()
    {
        if (open_) {
            try {
                sink_.Close();
            } catch (...) {
                // Already unwinding from the real failure; that one is what the user sees.
            }
        }
    }
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;

    void Step(std::int64_t done, std::int64_t total) { sink_.SetProgress(int(done * 100 / total)); }
    void Close()
    {
        open_ = false;
        sink_.Close();
    }

private:
    ProgressSink& sink_;
    bool open_ = true;
};

bool IsAscii(std::string_view bytes)
{
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// A field is one line of the file: a line break inside it would shift every later line.
void AppendFieldBytes(std::string& line, std::string_view utf8)
{
    const std::size_t start = line.size();
    line.append(utf8);
    // ASCII is its own Windows-1252: one pass over the copy, converting only if needed.
    bool ascii = true;
    for (auto c = line.begin() + static_cast<std::ptrdiff_t>(start); c != line.end(); ++c) {
        if (static_cast<unsigned char>(*c) >= 0x80) {
            ascii = false;
            break;
        }
        if (*c == '\r' || *c == '\n')
            *c = ' ';
    }
    if (ascii)
        return;
    line.resize(start);
    line.append(Utf8ToCp1252(utf8));
    std::replace_if(line.begin() + static_cast<std::ptrdiff_t>(start), line.end(),
                    [](char c) { return c == '\r' || c == '\n'; }, ' ');
}

std::string FieldBytes(std::string_view utf8)
{
    std::string bytes;
    AppendFieldBytes(bytes, utf8);
    return bytes;
}

// The conversions name the offending text in their message, which must be UTF-8. A number
// is all ASCII, so the bytes are converted only to word a refusal.
template <typename Parse>
auto ParseBytes(std::string_view bytes, Parse parse)
{
    try {
        return parse(bytes);
    } catch (const ConversionError&) {
        if (IsAscii(bytes))
            throw;
    }
    return parse(Cp1252ToUtf8(bytes));
}

Extended ReadDecimal(std::string_view bytes)
{
    return ParseBytes(bytes, [](std::string_view text) { return ParseDecimal(text); });
}

std::int32_t ReadInteger(std::string_view bytes)
{
    return ParseBytes(bytes, [](std::string_view text) { return ParseInteger(text); });
}

// The model stores integers in the width of its fields: modulo 65536 or 256.
std::uint16_t Word(std::int32_t value) { return static_cast<std::uint16_t>(value); }
std::uint8_t Byte(std::int32_t value) { return static_cast<std::uint8_t>(value); }

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

void AppendRecords(std::vector<TGPSRecord>& destination, std::vector<TGPSRecord>&& records)
{
    if (destination.empty())
        destination = std::move(records);
    else
        destination.insert(destination.end(), std::make_move_iterator(records.begin()),
                           std::make_move_iterator(records.end()));
}

// The fields of a point line, one after the other: each runs up to the next ";" or the end of
// the line, and a field that would start beyond the end is empty.
class GPSFields {
public:
    explicit GPSFields(std::string_view line) : line_(line) {}

    std::string_view Next()
    {
        if (position_ > line_.size())
            return {};
        const std::size_t start = position_;
        const std::size_t end = FindAnyByte<';'>(line_, start);
        position_ = end + 1;
        return line_.substr(start, end - start);
    }

private:
    std::string_view line_;
    std::size_t position_ = 0;
};

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
    // The seven lines of a point in one reused buffer, one write call.
    std::string lines;
    for (const TGPSRecord& record : project.Records) {
        lines.clear();
        lines += CoordinateText(record.Latitude);
        lines += "\r\n";
        lines += CoordinateText(record.Longitude);
        lines += "\r\n";
        AppendPaddedInteger(lines, record.Tolerance, 1);
        lines += "\r\n";
        AppendPaddedInteger(lines, record.Mode, 1);
        lines += "\r\n";
        AppendPaddedInteger(lines, record.FileRef, 1);
        lines += "\r\n";
        AppendFieldBytes(lines, record.Comments);
        lines += "\r\n";
        lines += Separator;
        writer.WriteLine(lines);
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

void WriteGPSFile(const std::string& path, const TProjectType& project, ProgressSink& progress)
{
    AtomicTextWriter writer(path);
    writer.WriteLine(GPSHeader);

    ProgressScope scope(progress, GPSCaption);
    const auto count = static_cast<std::int64_t>(project.Records.size());
    std::int64_t number = 0;
    std::string line;
    for (const TGPSRecord& record : project.Records) {
        ++number;
        line.clear();
        AppendPaddedInteger(line, number, 1);
        line += ';';
        AppendFixedText(line, record.Latitude, 6);
        line += ';';
        AppendFixedText(line, record.Longitude, 6);
        line += ';';
        AppendPaddedInteger(line, record.Tolerance, 1);
        line += ';';
        AppendPaddedInteger(line, record.Mode, 1);
        line += ';';
        AppendPaddedInteger(line, record.FileRef, 3);
        line += ';';
        AppendFieldBytes(line, record.Comments);
        writer.WriteLine(line);
        scope.Step(number, count);
    }
    scope.Close();
    writer.Commit();
}

void ReadGPSFile(const std::string& path, TProjectType& project, ProgressSink& progress)
{
    LineReader reader(path);
    // The first line is the header, whatever it holds; an empty file has no points.
    if (!reader.AtEnd())
        reader.ReadLine();

    ProgressScope scope(progress, GPSCaption);
    // The data ends at the first empty line, at the end of the file or at a Ctrl-Z.
    std::int64_t count = 0;
    while (!reader.AtEnd() && !reader.NextLineEmpty() && reader.PeekByte() != 0x1A) {
        reader.ReadLine();
        ++count;
    }
    reader.Rewind();
    if (!reader.AtEnd())
        reader.ReadLine();

    // The count is of lines really present in memory, not a number read from the file.
    std::vector<TGPSRecord> records;
    records.reserve(static_cast<std::size_t>(count));
    for (std::int64_t k = 1; k <= count; ++k) {
        GPSFields fields(reader.ReadLine());
        fields.Next();   // the number is written, not read
        TGPSRecord& record = records.emplace_back();
        record.Latitude = ReadDecimal(fields.Next());
        record.Longitude = ReadDecimal(fields.Next());
        record.Tolerance = Word(ReadInteger(fields.Next()));
        record.Mode = Byte(ReadInteger(fields.Next()));
        record.FileRef = Word(ReadInteger(fields.Next()));
        record.Comments = Cp1252ToUtf8(fields.Next());
        scope.Step(k, count);
    }
    scope.Close();
    AppendRecords(project.Records, std::move(records));
}

} // namespace uzuviv
