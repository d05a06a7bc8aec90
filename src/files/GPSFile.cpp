#include "files/UnitOfCodes.h"

#include <cstdint>
#include <utility>

#include "files/Cp1252.h"
#include "files/FileFields.h"
#include "files/TextFile.h"
#include "model/NumberText.h"

namespace uzuviv {

namespace {

constexpr std::string_view GPSHeader =
    "Num;Latitude(D.d);Longitude(D.d);Tolerance;Mode;File;Comments...";
constexpr int GPSCaption = 6;

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

void WriteGPSFile(const std::string& path, const TProjectType& project, ProgressSink& progress)
{
    AtomicTextWriter writer(path);
    writer.WriteLine(GPSHeader);

    ProgressScope scope(progress, GPSCaption);
    const auto count = static_cast<std::int64_t>(project.Records.size());
    std::int64_t number = 0;
    // Each line is formatted straight into the writer's block.
    constexpr std::size_t NumbersRoom = 4 * PaddedIntegerRoom(3) + 2 * FixedTextRoom(6) + 6;
    for (const TGPSRecord& record : project.Records) {
        ++number;
        char* out = writer.BeginLine(NumbersRoom + record.Comments.size());
        out = PutPaddedInteger(out, number, 1);
        *out++ = ';';
        out = PutFixedText(out, record.Latitude, 6);
        *out++ = ';';
        out = PutFixedText(out, record.Longitude, 6);
        *out++ = ';';
        out = PutPaddedInteger(out, record.Tolerance, 1);
        *out++ = ';';
        out = PutPaddedInteger(out, record.Mode, 1);
        *out++ = ';';
        out = PutPaddedInteger(out, record.FileRef, 3);
        *out++ = ';';
        writer.EndLine(PutFieldBytes(out, record.Comments));
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
    const auto count = static_cast<std::int64_t>(reader.SkipLinesUntilEmpty('\x1A'));
    reader.Rewind();
    if (!reader.AtEnd())
        reader.ReadLine();

    // The count is of lines really present in memory, not a number read from the file.
    std::vector<TGPSRecord> records;
    ReserveRecords(records, static_cast<std::size_t>(count));
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
