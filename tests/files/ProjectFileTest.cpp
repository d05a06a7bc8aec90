#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <sys/stat.h>

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
using filetest::SampleProject;
using filetest::TempFolder;
using filetest::WriteBytes;

const std::string SamplePath = std::string(UZUVIV_TEST_DATA) + "/sample-project.gps";

std::vector<std::string> Header(const std::string& version = "1.0.0")
{
    return {"DAV Uzuviv Project File of OVRA", "File version : ", version, "*****"};
}

// A project file whose body after the header is given line by line.
std::string ProjectFile(const std::vector<std::string>& body, const std::string& version = "1.0.0")
{
    std::vector<std::string> lines = Header(version);
    lines.insert(lines.end(), body.begin(), body.end());
    return Lines(lines);
}

// A project holding one of everything, so that "untouched" is visible.
TProjectType Untouched()
{
    TProjectType project;
    project.ProjectName = "before";
    project.ProjectComments = {"keep"};
    project.Records.push_back({1, 2, 3, 3, 4, "old"});
    return project;
}

TEST(ProjectFile, EmptyProjectIsFourteenLines)
{
    TempFolder folder;
    TProjectType project;
    project.ProjectComments.clear();
    RecordingProgress progress;
    SaveProjectFile(folder / "empty.gps", project, progress);
    EXPECT_EQ(ReadBytes(folder / "empty.gps"),
              Lines({"DAV Uzuviv Project File of OVRA", "File version : ", "1.0.0", "*****", "",
                     "", "", "", "", "", "0", "*****", "0", "*****"}));
    EXPECT_EQ(progress.Events, (std::vector<std::string>{"Show Saving Project...", "Close"}));

    TProjectType loaded;
    LoadProjectFile(folder / "empty.gps", loaded, progress);
    EXPECT_FALSE(ProjectsDiffer(loaded, project));
}

TEST(ProjectFile, SampleFileByteForByte)
{
    TempFolder folder;
    RecordingProgress progress;
    SaveProjectFile(folder / "sample.gps", SampleProject(), progress);
    EXPECT_EQ(ReadBytes(folder / "sample.gps"), ReadBytes(SamplePath));

    TProjectType loaded;
    const ProjectFileLoad result = LoadProjectFile(SamplePath, loaded, progress);
    EXPECT_EQ(result.Version, ProjectFileVersion::Accepted);
    EXPECT_EQ(result.VersionText, "1.0.0");
    EXPECT_FALSE(ProjectsDiffer(loaded, SampleProject()));
}

TEST(ProjectFile, SaveThenLoadGivesTheSameProject)
{
    TempFolder folder;
    TProjectType project;
    project.ProjectName = "Tour de l'\xC3\xAEle \xE2\x82\xAC";
    project.Subject = "";
    project.Author = "Andr\xC3\xA9 M\xC3\xBCller";
    project.Customer = "  blanks kept  ";
    project.ProjectComments.clear();
    for (int i = 0; i < 300; ++i)
        project.ProjectComments.push_back(i % 7 == 0 ? "" : "comment \xC3\xA9 " + std::to_string(i));
    for (int i = 0; i < 160; ++i) {
        TGPSRecord record;
        record.Latitude = -89.5L + i * 1.125L;
        // Integer over a power of ten: the nearest value to a decimal of 15 digits.
        record.Longitude = static_cast<Extended>(i * 2345678901234LL % 360000000000000LL
                                                 - 180000000000000LL) / 1e12L;
        record.Tolerance = static_cast<std::uint16_t>(i * 400);
        record.Mode = static_cast<std::uint8_t>(i % 4);
        record.FileRef = static_cast<std::uint16_t>(i * 401);
        record.Comments = i % 3 == 0 ? "" : "point ; \xC3\xA0 " + std::to_string(i);
        project.Records.push_back(record);
    }
    project.Records[0].Latitude = 45.1234567890123L;    // 15 significant digits
    project.Records[0].Longitude = 0.00005L;
    project.Records[1].Latitude = -1.23456789012345E-7L;

    RecordingProgress progress;
    SaveProjectFile(folder / "p.gps", project, progress);
    TProjectType loaded;
    LoadProjectFile(folder / "p.gps", loaded, progress);
    EXPECT_FALSE(ProjectsDiffer(loaded, project));

    // More than 15 significant digits come back rounded to 15.
    project.Records[0].Latitude = 45.12345678901234567L;
    project.Records[0].Longitude = -0.000012345678901234567L;
    SaveProjectFile(folder / "p.gps", project, progress);
    loaded = TProjectType();
    LoadProjectFile(folder / "p.gps", loaded, progress);
    EXPECT_EQ(loaded.Records[0].Latitude, 45.1234567890123L);
    EXPECT_EQ(loaded.Records[0].Longitude, -1.23456789012346E-5L);
}

TEST(ProjectFile, ResavingAnUnchangedFileIsByteIdentical)
{
    std::string everyByte;
    for (int b = 0; b < 256; ++b)
        if (b != '\r' && b != '\n')
            everyByte.push_back(static_cast<char>(b));
    const std::string original = ProjectFile({"name\xE9", "", "\x81\x8D\x8F\x90\x9D", "", "\x80",
                                              "", "2", everyByte, "\x1A", "*****", "2", "*****",
                                              "-0.5", "5E-5", "1000", "3", "999", everyByte,
                                              "*****", "12.3456789", "-179.25", "0", "1", "1",
                                              "", "*****"});
    TempFolder folder;
    WriteBytes(folder / "in.gps", original);
    RecordingProgress progress;
    TProjectType project;
    LoadProjectFile(folder / "in.gps", project, progress);
    SaveProjectFile(folder / "out.gps", project, progress);
    EXPECT_EQ(ReadBytes(folder / "out.gps"), original);
}

TEST(ProjectFile, ReadsLfAndCrOnlyFiles)
{
    const std::string crLf = ReadBytes(SamplePath);
    for (const std::string end : {"\n", "\r"}) {
        std::string converted;
        for (std::size_t i = 0; i < crLf.size(); ++i) {
            if (crLf.compare(i, 2, "\r\n") == 0) {
                converted += end;
                ++i;
            } else {
                converted += crLf[i];
            }
        }
        TempFolder folder;
        WriteBytes(folder / "p.gps", converted);
        RecordingProgress progress;
        TProjectType loaded;
        LoadProjectFile(folder / "p.gps", loaded, progress);
        EXPECT_FALSE(ProjectsDiffer(loaded, SampleProject())) << "line end " << int(end[0]);
    }
}

std::string SampleWithVersion(const std::string& version)
{
    std::string bytes = ReadBytes(SamplePath);
    const std::size_t start = bytes.find("1.0.0");
    return bytes.replace(start, 5, version);
}

TEST(ProjectFile, VersionRule)
{
    const struct {
        std::string version;
        ProjectFileVersion result;
        std::string versionText;
    } cases[] = {
        {"1.0.0", ProjectFileVersion::Accepted, "1.0.0"},
        {"1x0y0 and more", ProjectFileVersion::Accepted, "1x0y0 and more"},
        {"1.0.1", ProjectFileVersion::TooNew, "1.0.1"},
        {"1.1.0", ProjectFileVersion::TooNew, "1.1.0"},
        {"2.0.0\xE9", ProjectFileVersion::TooNew, "2.0.0\xC3\xA9"},
        {"0.9.0", ProjectFileVersion::Unknown, "0.9.0"},
        {"0.0.9", ProjectFileVersion::Unknown, "0.0.9"},
        {"1.0", ProjectFileVersion::Unknown, "1.0"},
        {"9", ProjectFileVersion::Unknown, "9"},
        {"", ProjectFileVersion::Unknown, ""},
    };
    TempFolder folder;
    for (const auto& c : cases) {
        WriteBytes(folder / "v.gps", SampleWithVersion(c.version));
        TProjectType project = Untouched();
        RecordingProgress progress;
        const ProjectFileLoad result = LoadProjectFile(folder / "v.gps", project, progress);
        EXPECT_EQ(result.Version, c.result) << c.version;
        EXPECT_EQ(result.VersionText, c.versionText);
        if (c.result == ProjectFileVersion::Accepted) {
            EXPECT_EQ(project.ProjectName, "Sample");
        } else {
            EXPECT_FALSE(ProjectsDiffer(project, Untouched())) << c.version;
            EXPECT_TRUE(progress.Events.empty()) << c.version;
        }
    }
}

TEST(ProjectFile, NonDigitVersionCharacterIsAConversionError)
{
    const struct {
        std::string version;
        std::string message;
    } cases[] = {
        {"a.0.0", "'a' n'est pas une valeur enti\xC3\xA8re correcte"},
        {"1.0.\xE9", "'\xC3\xA9' n'est pas une valeur enti\xC3\xA8re correcte"},
        {"1. ", "' ' n'est pas une valeur enti\xC3\xA8re correcte"},
    };
    TempFolder folder;
    for (const auto& c : cases) {
        WriteBytes(folder / "v.gps", SampleWithVersion(c.version));
        TProjectType project = Untouched();
        RecordingProgress progress;
        try {
            LoadProjectFile(folder / "v.gps", project, progress);
            ADD_FAILURE() << c.version << " was accepted";
        } catch (const ConversionError& error) {
            EXPECT_EQ(error.what(), c.message);
        }
        EXPECT_FALSE(ProjectsDiffer(project, Untouched()));
    }
}

TEST(ProjectFile, LoadReplacesPropertiesAndAppendsPoints)
{
    TProjectType project = Untouched();
    RecordingProgress progress;
    LoadProjectFile(SamplePath, project, progress);
    EXPECT_EQ(project.ProjectName, "Sample");
    EXPECT_EQ(project.ProjectComments, std::vector<std::string>{"..."});
    ASSERT_EQ(project.Records.size(), 2u);
    EXPECT_EQ(project.Records[0].Comments, "old");
    EXPECT_EQ(project.Records[1].Comments, "Gate");
}

TEST(ProjectFile, IntegersKeepTheWidthOfTheirField)
{
    const struct {
        std::string tolerance, mode, fileRef;
        std::uint16_t expectedTolerance;
        std::uint8_t expectedMode;
        std::uint16_t expectedFileRef;
    } cases[] = {
        {"70000", "259", "65537", 4464, 3, 1},
        {"-1", "-1", "-1", 65535, 255, 65535},
        {"65535", "255", "0", 65535, 255, 0},
        {" 12", "+2", "$10", 12, 2, 16},
    };
    TempFolder folder;
    for (const auto& c : cases) {
        WriteBytes(folder / "w.gps",
                   ProjectFile({"", "", "", "", "", "", "0", "*****", "1", "*****", "1", "2",
                                c.tolerance, c.mode, c.fileRef, "x", "*****"}));
        TProjectType project;
        RecordingProgress progress;
        LoadProjectFile(folder / "w.gps", project, progress);
        ASSERT_EQ(project.Records.size(), 1u);
        EXPECT_EQ(project.Records[0].Tolerance, c.expectedTolerance) << c.tolerance;
        EXPECT_EQ(project.Records[0].Mode, c.expectedMode) << c.mode;
        EXPECT_EQ(project.Records[0].FileRef, c.expectedFileRef) << c.fileRef;
        EXPECT_TRUE(project.ProjectComments.empty());
    }
}

TEST(ProjectFile, CountsOfZeroOrLessReadNothing)
{
    TempFolder folder;
    WriteBytes(folder / "n.gps",
               ProjectFile({"a", "b", "c", "d", "e", "f", "-3", "*****", "-1", "*****"}));
    TProjectType project = Untouched();
    RecordingProgress progress;
    LoadProjectFile(folder / "n.gps", project, progress);
    EXPECT_EQ(project.CreationDate, "f");
    EXPECT_TRUE(project.ProjectComments.empty());
    EXPECT_EQ(project.Records.size(), 1u);
    EXPECT_EQ(progress.Events, (std::vector<std::string>{"Show Opening Project...", "Close"}));
}

TEST(ProjectFile, LineBreaksInsideFieldsBecomeBlanks)
{
    TProjectType project = SampleProject();
    project.Author = "two\r\nlines";
    project.ProjectComments = {"a\rb", "c\nd"};
    project.Records[0].Comments = "\nGate\r";
    TempFolder folder;
    RecordingProgress progress;
    SaveProjectFile(folder / "b.gps", project, progress);
    TProjectType loaded;
    LoadProjectFile(folder / "b.gps", loaded, progress);
    EXPECT_EQ(loaded.Author, "two  lines");
    EXPECT_EQ(loaded.ProjectComments, (std::vector<std::string>{"a b", "c d"}));
    ASSERT_EQ(loaded.Records.size(), 1u);
    EXPECT_EQ(loaded.Records[0].Comments, " Gate ");
}

TEST(ProjectFile, TruncatedFilesAreAReadPastTheEnd)
{
    const std::string whole = ReadBytes(SamplePath);
    std::vector<std::size_t> lineEnds;
    for (std::size_t i = 0; i + 1 < whole.size(); ++i)
        if (whole.compare(i, 2, "\r\n") == 0)
            lineEnds.push_back(i + 2);
    ASSERT_EQ(lineEnds.size(), 22u);

    TempFolder folder;
    // Cut after every line but the last, and in the middle of the last comment.
    for (std::size_t cut = 0; cut <= lineEnds.size(); ++cut) {
        const std::size_t length = cut == 0 ? 0
                                 : cut == lineEnds.size() ? whole.find("Gate") + 2
                                                          : lineEnds[cut - 1];
        WriteBytes(folder / "t.gps", whole.substr(0, length));
        TProjectType project = Untouched();
        RecordingProgress progress;
        try {
            LoadProjectFile(folder / "t.gps", project, progress);
            ADD_FAILURE() << "accepted a file of " << length << " bytes";
        } catch (const InOutError& error) {
            EXPECT_EQ(error.Code(), 100) << length;
            EXPECT_STREQ(error.what(), "Lecture au-del\xC3\xA0 de la fin de fichier");
        }
        EXPECT_FALSE(ProjectsDiffer(project, Untouched()));
        EXPECT_EQ(progress.Shows(), progress.Count("Close"));
    }

    // Ending right after the last separator, even without its line end, is complete.
    for (const std::size_t length : {whole.size(), whole.size() - 2}) {
        WriteBytes(folder / "t.gps", whole.substr(0, length));
        TProjectType project;
        RecordingProgress progress;
        LoadProjectFile(folder / "t.gps", project, progress);
        EXPECT_FALSE(ProjectsDiffer(project, SampleProject()));
    }
}

TEST(ProjectFile, HugeCountsEndQuicklyAtTheEndOfTheFile)
{
    const std::vector<std::string> bodies[] = {
        {"", "", "", "", "", "", "2000000000", "x", "y"},
        {"", "", "", "", "", "", "0", "*****", "2000000000", "*****", "1", "2", "3", "1", "1",
         "x", "*****"},
    };
    TempFolder folder;
    for (const auto& body : bodies) {
        WriteBytes(folder / "h.gps", ProjectFile(body));
        TProjectType project;
        RecordingProgress progress;
        const auto start = std::chrono::steady_clock::now();
        try {
            LoadProjectFile(folder / "h.gps", project, progress);
            ADD_FAILURE() << "accepted";
        } catch (const InOutError& error) {
            EXPECT_EQ(error.Code(), 100);
        }
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
        EXPECT_EQ(progress.Shows(), progress.Count("Close"));
    }
}

TEST(ProjectFile, NumbersThatDoNotConvertStopTheLoad)
{
    const struct {
        std::vector<std::string> body;
        std::string message;
    } cases[] = {
        {{"", "", "", "", "", "", "two", "a", "b"},
         "'two' n'est pas une valeur enti\xC3\xA8re correcte"},
        {{"", "", "", "", "", "", "0", "*****", "1", "*****", "45,5", "2", "3", "1", "1", "x", "*****"},
         "'45,5' n'est pas une valeur en virgule flottante correcte"},
        {{"", "", "", "", "", "", "0", "*****", "1", "*****", "45.5", "\xB0", "3", "1", "1", "x", "*****"},
         "'\xC2\xB0' n'est pas une valeur en virgule flottante correcte"},
        {{"", "", "", "", "", "", "0", "*****", "1", "*****", "45.5", "2", "", "1", "1", "x", "*****"},
         "'' n'est pas une valeur enti\xC3\xA8re correcte"},
        {{"", "", "", "", "", "", "0", "*****", "1", "*****", "45.5", "2", "3", "1", "99999999999", "x", "*****"},
         "'99999999999' n'est pas une valeur enti\xC3\xA8re correcte"},
    };
    TempFolder folder;
    for (const auto& c : cases) {
        WriteBytes(folder / "c.gps", ProjectFile(c.body));
        TProjectType project = Untouched();
        RecordingProgress progress;
        try {
            LoadProjectFile(folder / "c.gps", project, progress);
            ADD_FAILURE() << c.message;
        } catch (const ConversionError& error) {
            EXPECT_EQ(error.what(), c.message);
        }
        EXPECT_FALSE(ProjectsDiffer(project, Untouched()));
        EXPECT_EQ(progress.Shows(), progress.Count("Close"));
    }
}

TEST(ProjectFile, GarbageNeverCrashes)
{
    TempFolder folder;
    std::uint32_t seed = 12345;
    const std::string sample = ReadBytes(SamplePath);
    for (int round = 0; round < 200; ++round) {
        std::string bytes;
        if (round % 2 == 0) {
            const std::size_t length = round * 7;
            for (std::size_t i = 0; i < length; ++i) {
                seed = seed * 1103515245u + 12345u;
                bytes.push_back(static_cast<char>(seed >> 16));
            }
        } else {
            // The sample with a few bytes flipped.
            bytes = sample;
            for (int flips = 0; flips < 3; ++flips) {
                seed = seed * 1103515245u + 12345u;
                bytes[(seed >> 8) % bytes.size()] = static_cast<char>(seed >> 24);
            }
        }
        WriteBytes(folder / "g.gps", bytes);
        TProjectType project = Untouched();
        RecordingProgress progress;
        try {
            LoadProjectFile(folder / "g.gps", project, progress);
        } catch (const InOutError&) {
            EXPECT_FALSE(ProjectsDiffer(project, Untouched()));
        } catch (const ConversionError&) {
            EXPECT_FALSE(ProjectsDiffer(project, Untouched()));
        }
        EXPECT_EQ(progress.Shows(), progress.Count("Close"));
    }
}

TEST(ProjectFile, MissingFileIsNotFound)
{
    TempFolder folder;
    TProjectType project = Untouched();
    RecordingProgress progress;
    try {
        LoadProjectFile(folder / "missing.gps", project, progress);
        ADD_FAILURE() << "no error";
    } catch (const InOutError& error) {
        EXPECT_STREQ(error.what(), "Fichier introuvable");
    }
    EXPECT_TRUE(progress.Events.empty());
    EXPECT_FALSE(ProjectsDiffer(project, Untouched()));
}

TEST(ProjectFile, FailedSaveKeepsTheOldFile)
{
    TempFolder folder;
    const std::string path = folder / "keep.gps";
    WriteBytes(path, ReadBytes(SamplePath));
    TProjectType big = SampleProject();
    big.Records.resize(5000, big.Records[0]);

    for (const std::size_t afterBytes : {std::size_t{50}, std::size_t{100000}}) {
        SetWriteFaultForTesting(std::make_pair(afterBytes, ENOSPC));
        RecordingProgress progress;
        try {
            SaveProjectFile(path, big, progress);
            ADD_FAILURE() << "no error";
        } catch (const InOutError& error) {
            EXPECT_STREQ(error.what(), "Disque plein");
        }
        SetWriteFaultForTesting(std::nullopt);
        EXPECT_EQ(ReadBytes(path), ReadBytes(SamplePath));
        EXPECT_EQ(folder.Names(), std::vector<std::string>{"keep.gps"});
        EXPECT_EQ(progress.Shows(), 1);
        EXPECT_EQ(progress.Count("Close"), 1);
    }

    ::chmod(path.c_str(), 0444);
    RecordingProgress progress;
    try {
        SaveProjectFile(path, big, progress);
        ADD_FAILURE() << "no error";
    } catch (const InOutError& error) {
        EXPECT_STREQ(error.what(), "Acc\xC3\xA8s au fichier refus\xC3\xA9");
    }
    EXPECT_TRUE(progress.Events.empty());
    EXPECT_EQ(ReadBytes(path), ReadBytes(SamplePath));
}

TEST(ProjectFile, ProgressPerPoint)
{
    TProjectType project = SampleProject();
    project.Records.resize(3, project.Records[0]);
    TempFolder folder;
    RecordingProgress saving;
    SaveProjectFile(folder / "p.gps", project, saving);
    EXPECT_EQ(saving.Events,
              (std::vector<std::string>{"Show Saving Project...", "33", "66", "100", "Close"}));
    RecordingProgress opening;
    TProjectType loaded;
    LoadProjectFile(folder / "p.gps", loaded, opening);
    EXPECT_EQ(opening.Events,
              (std::vector<std::string>{"Show Opening Project...", "33", "66", "100", "Close"}));
}

} // namespace
} // namespace uzuviv
