#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "files/FileTestSupport.h"
#include "files/SettingsFile.h"
#include "files/TextFile.h"
#include "files/UnitOfCodes.h"
#include "model/NumberText.h"

namespace uzuviv {
namespace {

using filetest::Lines;
using filetest::ReadBytes;
using filetest::TempFolder;
using filetest::WriteBytes;

// The lines of a settings file with the given language, last project, mode and recent lines.
std::vector<std::string> SettingsLines(const std::string& language = "English",
                                       const std::string& lastProject = "",
                                       const std::string& mode = "1",
                                       const std::vector<std::string>& recent = {})
{
    std::vector<std::string> lines = {"Settings File of OVRA DAV Uzuviv Tool", "File version : ", "1.0.0",
                                      "Language :", language, "Last project used", lastProject,
                                      "GPS Display Mode", mode, "Recent Open Files List"};
    lines.insert(lines.end(), recent.begin(), recent.end());
    return lines;
}

std::vector<std::string> FirstLines(std::vector<std::string> lines, std::size_t count)
{
    lines.resize(count);
    return lines;
}

// Values no file would produce, so that "untouched" is visible.
Settings StartUp()
{
    Settings settings;
    settings.LanguageIndex = 1;
    settings.LastProject = "/before.gps";
    settings.DisplayMode = 4;
    settings.RecentFiles = {"/old.gps"};
    return settings;
}

void ExpectSame(const Settings& actual, const Settings& expected)
{
    EXPECT_EQ(actual.LanguageIndex, expected.LanguageIndex);
    EXPECT_EQ(actual.LastProject, expected.LastProject);
    EXPECT_EQ(actual.DisplayMode, expected.DisplayMode);
    EXPECT_EQ(actual.RecentFiles, expected.RecentFiles);
}

TEST(SettingsFile, WritesTheLinesByteForByte)
{
    TempFolder folder;
    const std::string path = folder / "DAVUzuviv.cfg";
    WriteSettingsFile(path, Settings{});
    EXPECT_EQ(ReadBytes(path),
              "Settings File of OVRA DAV Uzuviv Tool\r\nFile version : \r\n1.0.0\r\nLanguage :\r\n"
              "English\r\nLast project used\r\n\r\nGPS Display Mode\r\n1\r\nRecent Open Files List\r\n");

    Settings settings;
    settings.LanguageIndex = 1;
    settings.LastProject = "/home/anne/Ch\xC3\xA2teau.gps";
    settings.DisplayMode = 200;
    settings.RecentFiles = {"/a.gps", "/b.gps"};
    WriteSettingsFile(path, settings);
    EXPECT_EQ(ReadBytes(path),
              Lines(SettingsLines("French", "/home/anne/Ch\xE2teau.gps", "200", {"/a.gps", "/b.gps"})));
}

TEST(SettingsFile, WritesOnlyTheFiveMostRecentFiles)
{
    TempFolder folder;
    Settings settings;
    settings.RecentFiles = {"/1", "/2", "/3", "/4", "/5", "/6", "/7"};
    WriteSettingsFile(folder / "s.cfg", settings);
    EXPECT_EQ(ReadBytes(folder / "s.cfg"),
              Lines(SettingsLines("English", "", "1", {"/3", "/4", "/5", "/6", "/7"})));
}

TEST(SettingsFile, LanguageWords)
{
    struct Case {
        int index;
        std::string word;
    };
    const std::vector<Case> writes = {{1, "French"}, {2, "English"}, {3, "Spanish"}, {4, "German"},
                                      {5, "Italian"}, {0, "English"}, {6, "English"}, {255, "English"}};
    TempFolder folder;
    const std::string path = folder / "s.cfg";
    for (const Case& c : writes) {
        Settings settings;
        settings.LanguageIndex = static_cast<std::uint8_t>(c.index);
        WriteSettingsFile(path, settings);
        EXPECT_EQ(ReadBytes(path), Lines(SettingsLines(c.word))) << c.index;
    }

    const std::vector<Case> reads = {{1, "French"}, {2, "English"}, {3, "Spanish"}, {4, "German"},
                                     {5, "Italian"}, {2, "french"}, {2, "FRENCH"}, {2, "French "},
                                     {2, " Italian"}, {2, ""}, {2, "Fran\xE7" "ais"}};
    for (const Case& c : reads) {
        WriteBytes(path, Lines(SettingsLines(c.word)));
        Settings settings = StartUp();
        EXPECT_EQ(ReadSettingsFile(path, settings), SettingsFileStatus::Read);
        EXPECT_EQ(settings.LanguageIndex, c.index) << c.word;
    }
}

TEST(SettingsFile, MissingOrOtherVersionTakesNothing)
{
    TempFolder folder;
    Settings settings = StartUp();
    EXPECT_EQ(ReadSettingsFile(folder / "none.cfg", settings), SettingsFileStatus::Missing);
    ExpectSame(settings, StartUp());

    for (const std::string version : {"1.0.1", "1.0", " 1.0.0", "1.0.0 ", "", "2.0.0"}) {
        std::vector<std::string> lines = SettingsLines("German", "/p.gps", "3", {"/r.gps"});
        lines[2] = version;
        WriteBytes(folder / "s.cfg", Lines(lines));
        EXPECT_EQ(ReadSettingsFile(folder / "s.cfg", settings), SettingsFileStatus::OtherVersion) << version;
        ExpectSame(settings, StartUp());
    }
}

TEST(SettingsFile, ShortFilesKeepTheStartUpValues)
{
    struct Case {
        std::string name;
        std::string bytes;
        int mode;
        std::vector<std::string> recent;
    };
    const std::vector<std::string> full = SettingsLines("Italian", "/p.gps", "3", {"/r.gps"});
    const std::vector<Case> cases = {
        {"ends after line 7", Lines(FirstLines(full, 7)), 4, {"/old.gps"}},
        {"line 7 without line end", Lines(FirstLines(full, 6)) + "/p.gps", 4, {"/old.gps"}},
        {"ends after line 9", Lines(FirstLines(full, 9)), 3, {"/old.gps"}},
        {"ends after line 10", Lines(FirstLines(full, 10)), 3, {"/old.gps"}},
        {"whole file", Lines(full), 3, {"/old.gps", "/r.gps"}},
        {"LF line ends", Lines(full, "\n"), 3, {"/old.gps", "/r.gps"}},
        {"CR line ends", Lines(full, "\r"), 3, {"/old.gps", "/r.gps"}},
    };
    TempFolder folder;
    for (const Case& c : cases) {
        WriteBytes(folder / "s.cfg", c.bytes);
        Settings settings = StartUp();
        EXPECT_EQ(ReadSettingsFile(folder / "s.cfg", settings), SettingsFileStatus::Read) << c.name;
        EXPECT_EQ(settings.LanguageIndex, 5) << c.name;
        EXPECT_EQ(settings.LastProject, "/p.gps") << c.name;
        EXPECT_EQ(settings.DisplayMode, c.mode) << c.name;
        EXPECT_EQ(settings.RecentFiles, c.recent) << c.name;
    }
}

TEST(SettingsFile, TakesTheFirstFiveRecentFilesRaw)
{
    TempFolder folder;
    WriteBytes(folder / "s.cfg",
               Lines(SettingsLines("English", "", "1", {"/a", "/B", "/b", "/d", "/e", "/f", "/g"})));
    Settings settings;
    ReadSettingsFile(folder / "s.cfg", settings);
    EXPECT_EQ(settings.RecentFiles, (std::vector<std::string>{"/a", "/B", "/b", "/d", "/e"}));
}

TEST(SettingsFile, DisplayModeKeptToEightBits)
{
    struct Case {
        std::string line;
        int mode;
    };
    const std::vector<Case> cases = {{"3", 3}, {"200", 200}, {"0", 0}, {"300", 44},
                                     {"-1", 255}, {"$10", 16}, {" 2", 2}};
    TempFolder folder;
    for (const Case& c : cases) {
        WriteBytes(folder / "s.cfg", Lines(SettingsLines("English", "", c.line)));
        Settings settings;
        ReadSettingsFile(folder / "s.cfg", settings);
        EXPECT_EQ(settings.DisplayMode, c.mode) << c.line;
    }
}

TEST(SettingsFile, FailureKeepsWhatWasReadBefore)
{
    TempFolder folder;
    const std::string path = folder / "s.cfg";

    WriteBytes(path, Lines(SettingsLines("French", "/p.gps", "abc", {"/r.gps"})));
    Settings settings = StartUp();
    settings.LanguageIndex = 2;
    try {
        ReadSettingsFile(path, settings);
        ADD_FAILURE() << "no ConversionError";
    } catch (const ConversionError& error) {
        EXPECT_STREQ(error.what(), "'abc' n'est pas une valeur enti\xC3\xA8re correcte");
    }
    EXPECT_EQ(settings.LanguageIndex, 1);
    EXPECT_EQ(settings.LastProject, "/p.gps");
    EXPECT_EQ(settings.DisplayMode, 4);
    EXPECT_EQ(settings.RecentFiles, std::vector<std::string>{"/old.gps"});

    struct Case {
        std::size_t lines;
        int language;
    };
    // Before line 7 the file is damaged: reading past its end is an error.
    for (const Case& c : std::vector<Case>{{0, 1}, {2, 1}, {3, 1}, {5, 3}, {6, 3}}) {
        WriteBytes(path, Lines(FirstLines(SettingsLines("Spanish", "/p.gps"), c.lines)));
        settings = StartUp();
        try {
            ReadSettingsFile(path, settings);
            ADD_FAILURE() << "no InOutError after " << c.lines << " lines";
        } catch (const InOutError& error) {
            EXPECT_EQ(error.Code(), 100);
        }
        EXPECT_EQ(settings.LanguageIndex, c.language) << c.lines;
        EXPECT_EQ(settings.LastProject, "/before.gps") << c.lines;
    }
}

TEST(SettingsFile, PathsRoundTrip)
{
    struct Case {
        std::string name;
        std::string path;
        std::string line;   // as stored in the file
    };
    const std::vector<Case> cases = {
        {"plain", "/home/x/a b.gps", "/home/x/a b.gps"},
        {"euro", "/home/x/\xE2\x82\xAC 5%.gps", "/home/x/\x80 5%.gps"},
        {"chinese", "/home/\xE4\xB8\xAD\xE6\x96\x87/a%b.gps",
         "\xEF\xBB\xBF/home/\xE4\xB8\xAD\xE6\x96\x87/a%25b.gps"},
        {"line break", "/tmp/a\nb\r\nc.gps", "\xEF\xBB\xBF/tmp/a%0Ab%0D%0Ac.gps"},
        {"escape look-alike", "/tmp/%0A\n", "\xEF\xBB\xBF/tmp/%250A%0A"},
        {"mark look-alike", "\xC3\xAF\xC2\xBB\xC2\xBF.gps", "\xEF\xBB\xBF\xC3\xAF\xC2\xBB\xC2\xBF.gps"},
        {"invalid UTF-8", "/tmp/\xFF\xE9.gps", "\xEF\xBB\xBF/tmp/\xFF\xE9.gps"},
        {"empty", "", ""},
    };
    TempFolder folder;
    const std::string path = folder / "s.cfg";
    for (const Case& c : cases) {
        Settings settings;
        settings.LastProject = c.path;
        settings.RecentFiles = {c.path, "/other.gps"};
        WriteSettingsFile(path, settings);
        EXPECT_EQ(ReadBytes(path), Lines(SettingsLines("English", c.line, "1", {c.line, "/other.gps"})))
            << c.name;

        Settings read;
        EXPECT_EQ(ReadSettingsFile(path, read), SettingsFileStatus::Read) << c.name;
        EXPECT_EQ(read.LastProject, c.path) << c.name;
        EXPECT_EQ(read.RecentFiles, (std::vector<std::string>{c.path, "/other.gps"})) << c.name;
    }
}

TEST(SettingsFile, FailedWriteLeavesTheOldFile)
{
    TempFolder folder;
    const std::string path = folder / "s.cfg";
    const std::string old = Lines(SettingsLines("French", "/p.gps", "2"));
    WriteBytes(path, old);
    Settings settings;
    settings.RecentFiles = {"/a.gps", "/b.gps"};
    SetWriteFaultForTesting(std::make_pair(std::size_t{150}, ENOSPC));
    int code = 0;
    try {
        WriteSettingsFile(path, settings);
    } catch (const InOutError& error) {
        code = error.Code();
    }
    SetWriteFaultForTesting(std::nullopt);
    EXPECT_EQ(code, 101);
    EXPECT_EQ(ReadBytes(path), old);
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"s.cfg"});
}

} // namespace
} // namespace uzuviv
