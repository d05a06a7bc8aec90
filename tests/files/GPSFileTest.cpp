#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "files/FileTestSupport.h"
#include "files/TextFile.h"
#include "files/UnitOfCodes.h"
#include "model/NumberText.h"

namespace uzuviv {
namespace {

using filetest::Lines;
using filetest::ReadBytes;
using filetest::RecordingProgress;
using filetest::TempFolder;
using filetest::WriteBytes;

const std::string SamplePath = std::string(UZUVIV_TEST_DATA) + "/sample-gps.csv";
const std::string Header = "Num;Latitude(D.d);Longitude(D.d);Tolerance;Mode;File;Comments...";

TProjectType SampleProject()
{
    TProjectType project;
    project.Records.push_back({45.5L, -1.25L, 20, 1, 7, "..."});
    project.Records.push_back({-12.3456789L, 100, 0, 3, 5, "\xC3\x89glise; porte nord"});
    return project;
}

// The points a file of these lines gives (header first).
std::vector<TGPSRecord> Import(const std::string& bytes, RecordingProgress* progress = nullptr)
{
    TempFolder folder;
    WriteBytes(folder / "in.csv", bytes);
    RecordingProgress local;
    TProjectType project;
    project.Records.clear();
    ReadGPSFile(folder / "in.csv", project, progress ? *progress : local);
    return project.Records;
}

TEST(GPSFile, SampleFileByteForByte)
{
    TempFolder folder;
    RecordingProgress progress;
    WriteGPSFile(folder / "gps.csv", SampleProject(), progress);
    EXPECT_EQ(ReadBytes(folder / "gps.csv"), ReadBytes(SamplePath));

    TProjectType project;
    project.ProjectName = "Imported Project";
    project.Records.push_back({});
    ReadGPSFile(SamplePath, project, progress);
    EXPECT_EQ(project.ProjectName, "Imported Project");
    EXPECT_EQ(project.ProjectComments, std::vector<std::string>{"..."});
    ASSERT_EQ(project.Records.size(), 3u);
    const TGPSRecord& second = project.Records[2];
    EXPECT_EQ(second.Latitude, -12.345679L);
    EXPECT_EQ(second.Longitude, 100.0L);
    EXPECT_EQ(second.Tolerance, 0);
    EXPECT_EQ(second.Mode, 3);
    EXPECT_EQ(second.FileRef, 5);
    EXPECT_EQ(second.Comments, "\xC3\x89glise");
}

TEST(GPSFile, PointLineFormat)
{
    const struct {
        TGPSRecord record;
        std::string line;
    } cases[] = {
        {{45.5L, -1.25L, 20, 1, 7, "..."}, "1;45.500000;-1.250000;20;1;007;..."},
        {{12.3456789L, 0, 0, 3, 5, ""}, "1;12.345679;0.000000;0;3;005;"},
        {{-0.0000004L, -180, 1000, 2, 999, "a;b"}, "1;0.000000;-180.000000;1000;2;999;a;b"},
        {{90, 0.0000005L, 65535, 255, 1000, "caf\xC3\xA9 \xE2\x82\xAC"},
         "1;90.000000;0.000001;65535;255;1000;caf\xE9 \x80"},
        {{1, 2, 3, 1, 4, "line\r\nbreak"}, "1;1.000000;2.000000;3;1;004;line  break"},
    };
    TempFolder folder;
    for (const auto& c : cases) {
        TProjectType project;
        project.Records.push_back(c.record);
        RecordingProgress progress;
        WriteGPSFile(folder / "one.csv", project, progress);
        EXPECT_EQ(ReadBytes(folder / "one.csv"), Lines({Header, c.line}));
    }
}

TEST(GPSFile, WriteThenReadRoundsToSixDecimals)
{
    TProjectType project;
    for (int i = 0; i < 200; ++i) {
        TGPSRecord record;
        record.Latitude = -90 + i * 0.9123456789L;
        record.Longitude = 180 - i * 1.7654321987L;
        record.Tolerance = static_cast<std::uint16_t>(i * 5);
        record.Mode = static_cast<std::uint8_t>(1 + i % 3);
        record.FileRef = static_cast<std::uint16_t>(1 + i);
        record.Comments = i % 10 == 0 ? "cut;here" : "point " + std::to_string(i);
        project.Records.push_back(record);
    }
    TempFolder folder;
    RecordingProgress progress;
    WriteGPSFile(folder / "gps.csv", project, progress);
    const std::vector<TGPSRecord> points = Import(ReadBytes(folder / "gps.csv"));
    ASSERT_EQ(points.size(), 200u);
    for (std::size_t i = 0; i < points.size(); ++i) {
        const TGPSRecord& written = project.Records[i];
        EXPECT_EQ(points[i].Latitude, ParseDecimal(FixedText(written.Latitude, 6)));
        EXPECT_EQ(points[i].Longitude, ParseDecimal(FixedText(written.Longitude, 6)));
        EXPECT_EQ(points[i].Tolerance, written.Tolerance);
        EXPECT_EQ(points[i].Mode, written.Mode);
        EXPECT_EQ(points[i].FileRef, written.FileRef);
        EXPECT_EQ(points[i].Comments, i % 10 == 0 ? "cut" : written.Comments);
    }
}

TEST(GPSFile, EmptyProjectAndEmptyFiles)
{
    TempFolder folder;
    RecordingProgress progress;
    WriteGPSFile(folder / "gps.csv", TProjectType(), progress);
    EXPECT_EQ(ReadBytes(folder / "gps.csv"), Header + "\r\n");
    EXPECT_EQ(progress.Events, (std::vector<std::string>{"Show Creating GPS file...", "Close"}));

    for (const std::string& bytes : {Header + "\r\n", Header, std::string()}) {
        RecordingProgress reading;
        EXPECT_TRUE(Import(bytes, &reading).empty());
        EXPECT_EQ(reading.Events,
                  (std::vector<std::string>{"Show Creating GPS file...", "Close"}));
    }
}

TEST(GPSFile, DataEndsAtTheFirstEmptyLineOrCtrlZ)
{
    const std::vector<std::string> points = {"1;1;1;1;1;1;a", "2;2;2;2;2;2;b", "3;3;3;3;3;3;c"};
    const struct {
        std::string bytes;
        std::size_t count;
        std::string lastComment;
    } cases[] = {
        {Lines({"x", points[0], points[1], points[2], "", "4;4;4;4;4;4;d"}), 3, "c"},
        {Lines({"x", points[0], points[1], points[2], "", "4;4;4;4;4;4;d"}, "\n"), 3, "c"},
        {Lines({"x", points[0], points[1], points[2], "", "4;4;4;4;4;4;d"}, "\r"), 3, "c"},
        {Lines({"x", points[0], points[1], points[2], "\x1A", "4;4;4;4;4;4;d"}), 3, "c"},
        {Lines({"x", points[0], "", points[1]}), 1, "a"},
        {Lines({"x", "", points[0]}), 0, ""},
        {Lines({"x", points[0], points[1]}) + points[2], 3, "c"},
        // Without its header, the first point is taken for one.
        {Lines({points[0], points[1], points[2]}), 2, "c"},
    };
    for (const auto& c : cases) {
        const std::vector<TGPSRecord> records = Import(c.bytes);
        ASSERT_EQ(records.size(), c.count) << ::testing::PrintToString(c.bytes);
        if (c.count > 0) {
            EXPECT_EQ(records.back().Comments, c.lastComment);
        }
    }
}

TEST(GPSFile, FieldsAreSplitWithOneRunningPosition)
{
    const struct {
        std::string line;
        Extended latitude, longitude;
        std::uint16_t tolerance;
        std::uint8_t mode;
        std::uint16_t fileRef;
        std::string comments;
    } cases[] = {
        {"1;1.5;2.5;3;2;4;comment;eighth;ninth", 1.5L, 2.5L, 3, 2, 4, "comment"},
        {"1;1;2;3;1;4;", 1, 2, 3, 1, 4, ""},
        {"1;1;2;3;1;4", 1, 2, 3, 1, 4, ""},
        {"9;123.5;-200;70000;-1;65537;no range checks", 123.5L, -200, 4464, 255, 1, "no range checks"},
        {"x; 1.25 ;-.5; 10;+3;$1F;\xE9t\xE9", 1.25L, -0.5L, 10, 3, 31, "\xC3\xA9t\xC3\xA9"},
    };
    for (const auto& c : cases) {
        const std::vector<TGPSRecord> records = Import(Lines({Header, c.line}));
        ASSERT_EQ(records.size(), 1u) << c.line;
        EXPECT_EQ(records[0].Latitude, c.latitude) << c.line;
        EXPECT_EQ(records[0].Longitude, c.longitude) << c.line;
        EXPECT_EQ(records[0].Tolerance, c.tolerance) << c.line;
        EXPECT_EQ(records[0].Mode, c.mode) << c.line;
        EXPECT_EQ(records[0].FileRef, c.fileRef) << c.line;
        EXPECT_EQ(records[0].Comments, c.comments) << c.line;
    }
}

TEST(GPSFile, FieldsThatAreNotNumbersStopTheImport)
{
    const struct {
        std::string line;
        std::string message;
    } cases[] = {
        {"7;10.5;20.25", "'' n'est pas une valeur enti\xC3\xA8re correcte"},
        {"1;45,5;1;0;1;1;x", "'45,5' n'est pas une valeur en virgule flottante correcte"},
        {"1;;1;0;1;1;x", "'' n'est pas une valeur en virgule flottante correcte"},
        {"1;1;2;3;mode;1;x", "'mode' n'est pas une valeur enti\xC3\xA8re correcte"},
        {"1;1;2;3;1;\xB0;x", "'\xC2\xB0' n'est pas une valeur enti\xC3\xA8re correcte"},
    };
    TempFolder folder;
    for (const auto& c : cases) {
        WriteBytes(folder / "bad.csv", Lines({Header, "1;1;1;1;1;1;good", c.line, "3;3;3;3;3;3;x"}));
        TProjectType project;
        project.Records.push_back({});
        RecordingProgress progress;
        try {
            ReadGPSFile(folder / "bad.csv", project, progress);
            ADD_FAILURE() << c.line << " was accepted";
        } catch (const ConversionError& error) {
            EXPECT_EQ(error.what(), c.message);
        }
        EXPECT_EQ(project.Records.size(), 1u);
        EXPECT_EQ(progress.Events,
                  (std::vector<std::string>{"Show Creating GPS file...", "33", "Close"}));
    }
}

TEST(GPSFile, ProgressPerPoint)
{
    TProjectType project = SampleProject();
    project.Records.push_back(project.Records[0]);
    TempFolder folder;
    RecordingProgress writing;
    WriteGPSFile(folder / "gps.csv", project, writing);
    const std::vector<std::string> expected = {"Show Creating GPS file...", "33", "66", "100", "Close"};
    EXPECT_EQ(writing.Events, expected);
    RecordingProgress reading;
    EXPECT_EQ(Import(ReadBytes(folder / "gps.csv"), &reading).size(), 3u);
    EXPECT_EQ(reading.Events, expected);
}

TEST(GPSFile, FileFailures)
{
    TempFolder folder;
    RecordingProgress progress;
    TProjectType project;
    try {
        ReadGPSFile(folder / "missing.csv", project, progress);
        ADD_FAILURE() << "no error";
    } catch (const InOutError& error) {
        EXPECT_STREQ(error.what(), "Fichier introuvable");
    }
    EXPECT_TRUE(progress.Events.empty());

    const std::string path = folder / "gps.csv";
    WriteBytes(path, "old");
    SetWriteFaultForTesting(std::make_pair(std::size_t{70}, ENOSPC));
    try {
        WriteGPSFile(path, SampleProject(), progress);
        ADD_FAILURE() << "no error";
    } catch (const InOutError& error) {
        EXPECT_STREQ(error.what(), "Disque plein");
    }
    SetWriteFaultForTesting(std::nullopt);
    EXPECT_EQ(ReadBytes(path), "old");
    EXPECT_EQ(progress.Shows(), 1);
    EXPECT_EQ(progress.Count("Close"), 1);
}

} // namespace
} // namespace uzuviv
