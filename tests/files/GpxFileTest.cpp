#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "files/Exchange.h"
#include "files/ExchangeTestSupport.h"
#include "files/GpxFile.h"
#include "files/KmlFile.h"
#include "model/NumberText.h"
#include "text/text.h"

namespace uzuviv {
namespace {

using filetest::ReadBytes;
using filetest::ReadGpxBytes;
using filetest::RecordingProgress;
using filetest::SampleProject;
using filetest::TempFolder;
using filetest::WriteBytes;

const std::string SamplePath = std::string(UZUVIV_TEST_DATA) + "/sample-project.gpx";

class GpxFileTest : public ::testing::Test {
protected:
    void SetUp() override { LanguageIndex = 2; }
    void TearDown() override { LanguageIndex = 2; }
};

// A project holding one of everything, so that "untouched" is visible.
TProjectType Untouched()
{
    TProjectType project;
    project.ProjectName = "before";
    project.Subject = "subject before";
    project.ProjectComments = {"keep"};
    project.Records.push_back({1, 2, 3, 3, 4, "old"});
    return project;
}

std::string Gpx(const std::string& body, const std::string& root = R"(<gpx version="1.1" xmlns="http://www.topografix.com/GPX/1/1">)")
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + root + "\n" + body + "\n</gpx>\n";
}

// UTF-16 of a text that is ASCII but for the characters below U+0800 it may hold.
std::string Utf16(const std::string& utf8, bool bigEndian, bool mark)
{
    std::string bytes;
    const auto unit = [&](char32_t c) {
        bytes += static_cast<char>(bigEndian ? c >> 8 : c & 0xFF);
        bytes += static_cast<char>(bigEndian ? c & 0xFF : c >> 8);
    };
    if (mark)
        unit(0xFEFF);
    for (std::size_t pos = 0; pos < utf8.size();)
        unit(NextUtf8Character(utf8, pos).value_or(U'?'));
    return bytes;
}

TEST_F(GpxFileTest, SampleFileByteForByteAndReadInEveryEncoding)
{
    TempFolder folder;
    RecordingProgress progress;
    WriteGpxFile(folder / "sample.gpx", SampleProject(), progress);
    EXPECT_EQ(ReadBytes(folder / "sample.gpx"), ReadBytes(SamplePath));

    std::string utf8 = ReadBytes(SamplePath);
    std::string declaredUtf16 = utf8;
    declaredUtf16.replace(utf8.find("UTF-8"), 5, "UTF-16");
    for (const std::string& bytes : {utf8, "\xEF\xBB\xBF" + utf8, Utf16(declaredUtf16, false, true),
                                     Utf16(declaredUtf16, true, true), Utf16(declaredUtf16, false, false),
                                     Utf16(declaredUtf16, true, false)}) {
        TProjectType read;
        EXPECT_EQ(ReadGpxBytes(bytes, read), "");
        EXPECT_FALSE(ProjectsDiffer(read, SampleProject())) << bytes.substr(0, 8);
    }
}

// Every character of Windows-1252 in every text, empty texts, the comment lines in every
// number, and coordinates that need all the precision of the stored values.
TEST_F(GpxFileTest, WriteThenReadGivesTheSameProject)
{
    const std::string all = filetest::ExchangeableCharacters();
    const auto rotated = [&all](int by) {   // the same characters, starting at another one
        std::size_t at = 0;
        for (int i = 0; i < by % 225; ++i)
            NextUtf8Character(all, at);
        return all.substr(at) + all.substr(0, at);
    };
    TProjectType full;
    full.ProjectName = all;
    full.Subject = rotated(1);
    full.Author = rotated(2);
    full.Copyright = rotated(3);   // an attribute: tab, quotes and "<&>" must survive there too
    full.Customer = rotated(4);
    full.CreationDate = rotated(5);
    full.ProjectComments = {rotated(6), "", " \t blanks at both ends \t ", "&lt; ]]> <![CDATA["};
    full.Records.push_back({90, 180, 65535, 255, 65535, all});
    full.Records.push_back({-90, -180, 0, 0, 0, ""});
    full.Records.push_back({std::numeric_limits<Extended>::denorm_min(), -0.0L, 1, 1, 1, "   "});
    Extended walk = 0.123456789L;   // every bit of the mantissa in use, as the DMS boxes make them
    for (int i = 0; i < 200; ++i) {
        walk = std::fmod(walk * 7.77L + 0.31415926535897932385L, 1.0L);
        full.Records.push_back({walk * 180 - 90, walk * 360 - 180, 7, 1, 8, rotated(i)});
    }
    TProjectType empty;
    empty.ProjectComments.clear();
    TProjectType oneEmptyLine;
    oneEmptyLine.ProjectComments = {""};
    TProjectType manyLines;
    manyLines.ProjectComments.assign(300, "line");
    manyLines.ProjectComments.back() = "";

    int number = 0;
    for (const TProjectType& project : {full, empty, oneEmptyLine, manyLines, SampleProject()}) {
        TempFolder folder;
        RecordingProgress progress;
        WriteGpxFile(folder / "out.gpx", project, progress);
        TProjectType read;
        ReadGpxFile(folder / "out.gpx", read, progress);
        EXPECT_FALSE(ProjectsDiffer(read, project)) << "project " << ++number;
    }
}

TEST_F(GpxFileTest, FilesFromElsewhereGiveTheirPointsInFileOrder)
{
    struct Point {
        Extended Latitude, Longitude;
        std::string Comments;
    };
    const struct {
        std::string file;
        std::vector<Point> points;
    } cases[] = {
        {Gpx(R"(<wpt lat="1" lon="2"><name>w1</name></wpt>
                <rte><name>route</name><rtept lat="3" lon="4"><name>r1</name></rtept><rtept lat="5" lon="6"/></rte>
                <trk><name>track</name><trkseg><trkpt lat="7" lon="8"><name>t1</name></trkpt></trkseg>
                     <trkseg><trkpt lat="-9.5" lon="-10.25"><name>t2</name></trkpt></trkseg></trk>
                <wpt lat="11" lon="12"><name>w2</name></wpt>)"),
         {{1, 2, "w1"}, {3, 4, "r1"}, {5, 6, "..."}, {7, 8, "t1"}, {-9.5L, -10.25L, "t2"}, {11, 12, "w2"}}},
        {Gpx(R"(<wpt lat="45.5" lon="-1.25"><name>A</name><time>2024-01-01T00:00:00Z</time></wpt>)",
             R"(<gpx version="1.0" xmlns="http://www.topografix.com/GPX/1/0">)"),
         {{45.5L, -1.25L, "A"}}},
        {Gpx(R"(<wpt lat=" 12.5 " lon="+3"/>)", "<gpx>"), {{12.5L, 3, "..."}}},
        // The name first, then desc, then cmt; an empty name stays empty.
        {Gpx(R"(<wpt lat="0" lon="0"><cmt>c</cmt><desc>d</desc><name>n</name></wpt>
                <wpt lat="0" lon="0"><cmt>c</cmt><desc>d</desc></wpt><wpt lat="0" lon="0"><cmt>c</cmt></wpt>
                <wpt lat="0" lon="0"><name></name><desc>d</desc></wpt><wpt lat="0" lon="0"><name/></wpt>)"),
         {{0, 0, "n"}, {0, 0, "d"}, {0, 0, "c"}, {0, 0, ""}, {0, 0, ""}}},
        // What Windows-1252 cannot hold becomes "?", a line break a blank.
        {Gpx("<wpt lat=\"0\" lon=\"0\"><name>Zo\xC3\xAB \xE2\x82\xAC \xE2\x85\x93 \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80</name></wpt>"
             "<wpt lat=\"0\" lon=\"0\"><name>a\nb&#13;&#10;c&#13;d&#10;e\tf</name></wpt>"
             "<wpt lat=\"0\" lon=\"0\"><name><![CDATA[<b>&amp;</b>]]></name></wpt>"),
         {{0, 0, "Zo\xC3\xAB \xE2\x82\xAC ? ?? ?"}, {0, 0, "a b c d e\tf"}, {0, 0, "<b>&amp;</b>"}}},
        {"<?xml version=\"1.0\" encoding=\"windows-1252\"?><gpx><wpt lat=\"1\" lon=\"1\"><name>\x80 \xE9\x81</name></wpt></gpx>",
         {{1, 1, "\xE2\x82\xAC \xC3\xA9\xC2\x81"}}},
        {"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><gpx><wpt lat=\"1\" lon=\"1\"><name>\xE9</name></wpt></gpx>",
         {{1, 1, "\xC3\xA9"}}},
        // Other programs' elements are skipped, even when their names are GPX names.
        {Gpx(R"(<wpt lat="1" lon="1" xmlns:x="urn:x"><x:name>no</x:name><extensions><x:point mode="3"/></extensions><name>yes</name></wpt>)"),
         {{1, 1, "yes"}}},
    };
    for (const auto& c : cases) {
        TProjectType project;
        ASSERT_EQ(ReadGpxBytes(c.file, project), "") << c.file;
        ASSERT_EQ(project.Records.size(), c.points.size()) << c.file;
        for (std::size_t i = 0; i < c.points.size(); ++i) {
            const TGPSRecord expected{c.points[i].Latitude, c.points[i].Longitude, 0, 1, 1, c.points[i].Comments};
            EXPECT_FALSE(RecordsDiffer(project.Records[i], expected)) << c.file << " " << i;
        }
    }
}

TEST_F(GpxFileTest, OnlyThePropertiesTheFileCarriesAreReplaced)
{
    const auto changed = [](void (*change)(TProjectType&)) {
        TProjectType project = Untouched();
        change(project);
        return project;
    };
    const struct {
        std::string file;
        TProjectType expected;
    } cases[] = {
        {Gpx(R"(<wpt lat="1" lon="2"/>)"), Untouched()},
        {Gpx("<metadata><name>Tour</name><author><name>Ann</name><email id=\"a\" domain=\"b\"/></author></metadata>"),
         changed([](TProjectType& p) { p.ProjectName = "Tour"; p.Author = "Ann"; })},
        {Gpx("<name>Tour</name><desc>Sub</desc><author>Bob</author>", R"(<gpx version="1.0" xmlns="http://www.topografix.com/GPX/1/0">)"),
         changed([](TProjectType& p) { p.ProjectName = "Tour"; p.Subject = "Sub"; p.Author = "Bob"; })},
        {Gpx(R"(<metadata><name/><extensions><c:comments xmlns:c="http://www.ovra.example/xmlns/davuzuviv/1"/></extensions></metadata>)"),
         changed([](TProjectType& p) { p.ProjectName.clear(); p.ProjectComments.clear(); })},
    };
    for (const auto& c : cases) {
        TProjectType project = Untouched();
        ASSERT_EQ(ReadGpxBytes(c.file, project), "") << c.file;
        project.Records.resize(1);   // the points are appended after the one already there
        EXPECT_FALSE(ProjectsDiffer(project, c.expected)) << c.file;
    }
}

TEST_F(GpxFileTest, BadFilesAreRefusedAtTheirLineAndColumn)
{
    const std::string point = R"(<wpt lat="1" lon="2"><name>a</name></wpt>)";
    std::string deep;
    for (int i = 0; i < 300; ++i)
        deep = "<a>" + deep + "</a>";
    const struct {
        std::string file;
        std::string message;
    } cases[] = {
        {"", "line 1, column 1: the file is empty"},
        {"<?xml version=\"1.0\"?>\n", "line 2, column 1: the file is empty"},
        {Gpx(point).substr(0, 90), "line 2, column 1: the file ends before the document is complete"},
        {Gpx(point).substr(0, 140), "line 3, column 36: the file ends before the document is complete"},
        {Gpx("<wpt lat=\"1\" lon=\"2\"></wtp>"), "line 3, column 24: the XML is not well-formed (mismatched tag)"},
        {std::string("\x7F" "ELF\x02\x01\x01\0\0\0", 10), "line 1, column 1: the XML is not well-formed (invalid token)"},
        {"<?xml version=\"1.0\"?>\n<kml xmlns=\"http://www.opengis.net/kml/2.2\"/>", "line 2, column 1: the root element is <kml>, not <gpx>"},
        {Gpx("  <wpt lon=\"2\"/>"), "line 3, column 3: <wpt> has no lat attribute"},
        {Gpx("<rte><rtept lat=\"2\"/></rte>"), "line 3, column 6: <rtept> has no lon attribute"},
        {Gpx("<trk><trkseg><trkpt lat=\"45,5\" lon=\"2\"/></trkseg></trk>"), "line 3, column 14: lat \"45,5\" is not a number"},
        {Gpx(R"(<wpt lat="1" lon="2"><extensions><u:point xmlns:u="http://www.ovra.example/xmlns/davuzuviv/1" mode="x"/></extensions></wpt>)"),
         "line 3, column 34: mode \"x\" is not a number"},
        {"<!DOCTYPE gpx [\n<!ENTITY a \"aaaaaaaaaa\">\n<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">\n]>\n<gpx><wpt lat=\"1\" lon=\"2\"><name>&b;</name></wpt></gpx>",
         "line 2, column 12: entity declarations are not accepted"},
        {"<!DOCTYPE gpx [<!ENTITY x SYSTEM \"file:///etc/passwd\">]>\n<gpx><wpt lat=\"1\" lon=\"2\"><name>&x;</name></wpt></gpx>",
         "line 1, column 54: entity declarations are not accepted"},
        {"<!DOCTYPE gpx SYSTEM \"http://127.0.0.1:9/gpx.dtd\">\n<gpx><wpt lat=\"1\" lon=\"2\"><name>&x;</name></wpt></gpx>",
         "line 2, column 33: the XML is not well-formed (undefined entity)"},
        {Gpx(deep), "line 3, column 766: the elements are nested more than 256 deep"},
    };
    for (const auto& c : cases) {
        TProjectType project = Untouched();
        EXPECT_EQ(ReadGpxBytes(c.file, project), "GPX file, " + c.message) << c.file;
        EXPECT_FALSE(ProjectsDiffer(project, Untouched())) << c.file;
    }
    LanguageIndex = 1;
    TProjectType project;
    EXPECT_EQ(ReadGpxBytes("", project), "Fichier GPX, ligne 1, colonne 1 : le fichier est vide");
}

TEST_F(GpxFileTest, HugeAttributeIsRefusedWithoutReadingTheWholeFile)
{
    TempFolder folder;
    {
        std::ofstream out(folder / "huge.gpx", std::ios::binary);
        out << "<gpx>\n<wpt lat=\"1\" lon=\"2\" note=\"";
        const std::string block(1 << 20, 'x');
        for (int i = 0; i < 100; ++i)
            out << block;
        out << "\"/></gpx>";
    }
    TProjectType project = Untouched();
    RecordingProgress progress;
    try {
        ReadGpxFile(folder / "huge.gpx", project, progress);
        ADD_FAILURE() << "read";
    } catch (const ConversionError& e) {
        EXPECT_STREQ(e.what(), "GPX file, line 2, column 1: a tag is longer than 16777216 bytes");
    }
    EXPECT_FALSE(ProjectsDiffer(project, Untouched()));
    ASSERT_GE(progress.Events.size(), 2u);
    EXPECT_EQ(progress.Events.back(), "Close");
    EXPECT_LT(std::stoi(progress.Events[progress.Events.size() - 2]), 50);
}

// Both writers refuse the same way; KML holds no other property than the name.
TEST_F(GpxFileTest, WhatGpxAndKmlCannotHoldIsRefusedBeforeWriting)
{
    const struct {
        void (*change)(TProjectType&);
        std::string message;
        bool kmlHoldsIt = false;
    } cases[] = {
        {[](TProjectType& p) { p.Records[1].Latitude = 90.5L; }, "Point 2, latitude: 90.5 is outside -90 to +90"},
        {[](TProjectType& p) { p.Records[0].Longitude = -180.25L; }, "Point 1, longitude: -180.25 is outside -180 to +180"},
        {[](TProjectType& p) { p.Records[0].Latitude = std::numeric_limits<Extended>::quiet_NaN(); }, "Point 1, latitude: NAN is not a finite number"},
        {[](TProjectType& p) { p.Records[1].Longitude = -std::numeric_limits<Extended>::infinity(); }, "Point 2, longitude: -INF is not a finite number"},
        {[](TProjectType& p) { p.Records[1].Comments = "a\x01" "b"; }, "Point 2, comment: the text holds the control character U+0001"},
        {[](TProjectType& p) { p.Records[0].Comments = "a\nb"; }, "Point 1, comment: the text holds the control character U+000A"},
        {[](TProjectType& p) { p.Records[0].Comments = "\xFF"; }, "Point 1, comment: the text holds the control character U+FFFD"},
        {[](TProjectType& p) { p.Records[1].Comments = "\x1F"; p.Records[1].Latitude = 100; p.Records[0].Longitude = 200; },
         "Point 1, longitude: 200 is outside -180 to +180"},
        {[](TProjectType& p) { p.ProjectName = "\x1F"; p.Records[0].Latitude = 100; }, "Project, name: the text holds the control character U+001F"},
        {[](TProjectType& p) { p.ProjectComments = {"", "", "\r"}; }, "Project, comment line 3: the text holds the control character U+000D", true},
        {[](TProjectType& p) { p.Subject = "\x1F"; }, "Project, subject: the text holds the control character U+001F", true},
    };
    for (const auto& c : cases) {
        TProjectType project = SampleProject();
        project.Records.push_back({-45, 45, 1, 1, 1, "second"});
        c.change(project);
        for (const auto write : {WriteGpxFile, WriteKmlFile}) {
            const bool refused = write == WriteGpxFile || !c.kmlHoldsIt;
            TempFolder folder;
            WriteBytes(folder / "kept", "previous");
            RecordingProgress progress;
            try {
                write(folder / "kept", project, progress);
                EXPECT_FALSE(refused) << c.message;
            } catch (const ExportRefusal& refusal) {
                EXPECT_TRUE(refused);
                EXPECT_EQ(refusal.what(), c.message + ". GPX and KML cannot hold this, so nothing was written.");
                EXPECT_EQ(ReadBytes(folder / "kept"), "previous");
                EXPECT_EQ(folder.Names(), std::vector<std::string>{"kept"});
                EXPECT_TRUE(progress.Events.empty());
            }
        }
    }
    LanguageIndex = 1;
    try {
        TempFolder folder;
        RecordingProgress progress;
        TProjectType project = SampleProject();
        project.Records[0].Latitude = -91;
        WriteGpxFile(folder / "x.gpx", project, progress);
        ADD_FAILURE() << "written";
    } catch (const ExportRefusal& refusal) {
        EXPECT_STREQ(refusal.what(), "Point 1, latitude : -91 est hors de -90 \xC3\xA0 +90. GPX et KML ne peuvent pas "
                                     "contenir cela, rien n'a donc \xC3\xA9t\xC3\xA9 \xC3\xA9" "crit.");
    }
}

TEST_F(GpxFileTest, ProgressByPointWhenWritingAndByByteWhenReading)
{
    TProjectType project = SampleProject();
    project.Records.resize(3, project.Records[0]);
    TempFolder folder;
    RecordingProgress writing, reading, failing, missing;
    WriteGpxFile(folder / "p.gpx", project, writing);
    EXPECT_EQ(writing.Events, (std::vector<std::string>{"Show Exporting GPX file...", "33", "66", "100", "Close"}));
    TProjectType read;
    ReadGpxFile(folder / "p.gpx", read, reading);
    EXPECT_EQ(reading.Events, (std::vector<std::string>{"Show Importing GPX file...", "100", "Close"}));
    WriteBytes(folder / "bad.gpx", "<gpx><wpt/></gpx>");
    EXPECT_THROW(ReadGpxFile(folder / "bad.gpx", read, failing), ConversionError);
    EXPECT_EQ(failing.Events, (std::vector<std::string>{"Show Importing GPX file...", "Close"}));
    EXPECT_THROW(ReadGpxFile(folder / "missing.gpx", read, missing), InOutError);
    EXPECT_TRUE(missing.Events.empty());
}

} // namespace
} // namespace uzuviv
