// Writes the seed corpus: files the program's own writers produce, and edge files derived
// from them or made by hand (truncated, huge counts, other line ends, binary).
// Usage: uzuviv_fuzz_seeds <corpus folder>; each target's seeds go to <folder>/<target>/.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "files/GpxFile.h"
#include "files/SettingsFile.h"
#include "files/UnitOfCodes.h"

using namespace uzuviv;

namespace {

struct SilentProgress : ProgressSink {
    void Show(const std::string&) override {}
    void SetProgress(int) override {}
    void Close() override {}
};

std::filesystem::path Root;

void Put(const std::string& target, const std::string& name, const std::string& bytes)
{
    std::filesystem::create_directories(Root / target);
    std::ofstream(Root / target / name, std::ios::binary) << bytes;
}

std::string Slurp(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Replace(std::string text, const std::string& from, const std::string& to)
{
    for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
        text.replace(at, from.size(), to);
    return text;
}

std::string LfOnly(const std::string& text) { return Replace(text, "\r\n", "\n"); }
std::string CrOnly(const std::string& text) { return Replace(text, "\r\n", "\r"); }

TProjectType SampleProject()
{
    TProjectType project;
    project.ProjectName = "Sample";
    project.Subject = "Ch\xC3\xA2teau tour";
    project.Copyright = "(c) OVRA";
    project.CreationDate = "2024-05-01";
    project.Records.push_back(TGPSRecord{48.8566L, 2.3522L, 100, 2, 7, "Gate"});
    return project;
}

TProjectType VariedProject()
{
    TProjectType project = SampleProject();
    project.ProjectComments = {"first", "", "\xC3\x89glise; porte nord"};
    project.Records.push_back(TGPSRecord{-12.3456789L, 100, 0, 3, 5, "\xC3\x89glise; porte nord"});
    project.Records.push_back(TGPSRecord{0.00005L, -0.0000125L, 65535, 255, 65535, ""});
    project.Records.push_back(TGPSRecord{45.5078125L, -179.999999999999L, 1000, 1, 999, "..."});
    project.Records.push_back(TGPSRecord{-0.0L, 1e300L, 5, 0, 0, "x"});
    return project;
}

void ProjectSeeds(const std::filesystem::path& scratch)
{
    SilentProgress progress;
    const std::string path = (scratch / "seed.gps").string();
    SaveProjectFile(path, TProjectType{}, progress);
    const std::string empty = Slurp(path);
    TProjectType bare;
    bare.ProjectComments.clear();
    SaveProjectFile(path, bare, progress);
    Put("project_file", "no-comments-no-points.gps", Slurp(path));
    Put("project_file", "empty-project.gps", empty);
    SaveProjectFile(path, SampleProject(), progress);
    const std::string sample = Slurp(path);
    Put("project_file", "sample.gps", sample);
    SaveProjectFile(path, VariedProject(), progress);
    const std::string varied = Slurp(path);
    Put("project_file", "varied.gps", varied);
    Put("project_file", "varied-lf.gps", LfOnly(varied));
    Put("project_file", "varied-cr.gps", CrOnly(varied));
    Put("project_file", "varied-truncated.gps", varied.substr(0, varied.size() / 2));
    Put("project_file", "varied-no-last-crlf.gps", varied.substr(0, varied.size() - 2));
    for (const char* version : {"1.0.1", "2.0.0", "0.9.0", "1x0y0", "1.0", "", "a.0.0", "1.0.0.0"})
        Put("project_file", std::string("version-") + (*version ? version : "empty") + ".gps",
            Replace(sample, "\r\n1.0.0\r\n", std::string("\r\n") + version + "\r\n"));
    Put("project_file", "huge-comment-count.gps", Replace(sample, "\r\n1\r\n...", "\r\n2147483647\r\n..."));
    Put("project_file", "huge-point-count.gps", Replace(sample, "*****\r\n1\r\n*****", "*****\r\n99999999\r\n*****"));
    Put("project_file", "negative-counts.gps",
        Replace(Replace(sample, "\r\n1\r\n...", "\r\n-5\r\n"), "*****\r\n1\r\n*****", "*****\r\n-1\r\n*****"));
    Put("project_file", "hex-and-exponent.gps",
        Replace(Replace(sample, "\r\n100\r\n", "\r\n$FFFF\r\n"), "48.8566", " 4.88566e+1 "));
    Put("project_file", "comma-decimal.gps", Replace(sample, "48.8566", "48,8566"));
}

void GPSSeeds(const std::filesystem::path& scratch)
{
    SilentProgress progress;
    const std::string path = (scratch / "seed.csv").string();
    WriteGPSFile(path, TProjectType{}, progress);
    Put("gps_file", "header-only.csv", Slurp(path));
    WriteGPSFile(path, VariedProject(), progress);
    const std::string varied = Slurp(path);
    Put("gps_file", "varied.csv", varied);
    Put("gps_file", "varied-lf.csv", LfOnly(varied));
    Put("gps_file", "varied-cr.csv", CrOnly(varied));
    Put("gps_file", "varied-truncated.csv", varied.substr(0, varied.size() * 2 / 3));
    const std::string header = "Num;Latitude(D.d);Longitude(D.d);Tolerance;Mode;File;Comments...\r\n";
    Put("gps_file", "sample.csv",
        header + "1;45.500000;-1.250000;20;1;007;...\r\n2;-12.345679;100.000000;0;3;005;\xC9glise; porte nord\r\n");
    Put("gps_file", "empty-line-ends-data.csv",
        header + "1;1;2;3;1;001;a\r\n2;3;4;5;2;002;b\r\n3;5;6;7;3;003;c\r\n\r\n4;garbage\r\n");
    Put("gps_file", "three-fields.csv", header + "7;10.5;20.25\r\n");
    Put("gps_file", "eight-fields.csv", header + "1;1.5;2.5;10;2;042;comment;extra\r\n");
    Put("gps_file", "ctrl-z.csv", header + "1;1;2;3;1;001;a\r\n\x1A" "2;3;4;5;2;002;b\r\n");
    Put("gps_file", "notations.csv",
        header + "1; +1.5e1 ;-.5;$3E8;0x2;X10;\r\n2;.;5.;-0;+3;  7;\r\n3;1e4932;-1e-4950;65536;256;-1;\r\n");
    Put("gps_file", "no-header.csv", "1;45.5;-1.25;20;1;007;...");
    Put("gps_file", "empty.csv", "");
}

void GpxSeeds(const std::filesystem::path& scratch)
{
    SilentProgress progress;
    const std::string path = (scratch / "seed.gpx").string();
    TProjectType project = VariedProject();
    project.Records.back().Longitude = -180;   // GPX holds no more
    WriteGpxFile(path, project, progress);
    const std::string varied = Slurp(path);
    Put("gpx_file", "varied.gpx", varied);
    Put("gpx_file", "varied-truncated.gpx", varied.substr(0, varied.size() * 2 / 3));
    Put("gpx_file", "varied-windows-1252.gpx",
        Replace(Replace(varied, "UTF-8", "windows-1252"), "\xC3\x89glise", "\xC9glise"));
    std::string utf16 = "\xFF\xFE";
    for (const char c : Replace(varied.substr(0, 1200), "UTF-8", "UTF-16"))
        utf16 += std::string(1, c) + '\0';
    Put("gpx_file", "varied-utf16.gpx", utf16);
    TProjectType bare;
    bare.ProjectComments.clear();
    WriteGpxFile(path, bare, progress);
    Put("gpx_file", "empty-project.gpx", Slurp(path));
    Put("gpx_file", "gpx10-routes-tracks.gpx",
        "<?xml version=\"1.0\"?>\n<gpx version=\"1.0\" xmlns=\"http://www.topografix.com/GPX/1/0\">\n"
        "<name>Tour</name><desc>d</desc><author>a</author>\n"
        "<wpt lat=\"45.5\" lon=\"-1.25\"><cmt>c</cmt><desc>d</desc></wpt>\n"
        "<rte><name>r</name><rtept lat=\"1e1\" lon=\" 2 \"><name/></rtept></rte>\n"
        "<trk><trkseg><trkpt lat=\"-90\" lon=\"180\"><name>a&#10;b&#13;c</name></trkpt></trkseg></trk>\n"
        "</gpx>\n");
    Put("gpx_file", "gpx11-foreign.gpx",
        "<gpx xmlns=\"http://www.topografix.com/GPX/1/1\" xmlns:x=\"urn:x\"><metadata><name>n</name>"
        "<author><name>A</name></author><copyright author=\"c\"/></metadata>"
        "<wpt lat=\"95\" lon=\"200\"><x:name>x</x:name><name><![CDATA[<&>]]></name></wpt></gpx>");
    Put("gpx_file", "entities.gpx",
        "<!DOCTYPE gpx [<!ENTITY a \"aa\"><!ENTITY b \"&a;&a;\">]><gpx><wpt lat=\"1\" lon=\"2\"><name>&b;</name></wpt></gpx>");
    Put("gpx_file", "not-gpx.gpx", "<kml><Placemark/></kml>");
    Put("gpx_file", "empty.gpx", "");
}

void SettingsSeeds(const std::filesystem::path& scratch)
{
    const std::string path = (scratch / "DAVUzuviv.cfg").string();
    WriteSettingsFile(path, Settings{});
    const std::string defaults = Slurp(path);
    Put("settings_file", "defaults.cfg", defaults);
    Settings full;
    full.LanguageIndex = 1;
    full.LastProject = "/home/user/projets/Ch\xC3\xA2teau.gps";
    full.DisplayMode = 3;
    full.RecentFiles = {"/a.gps", "/B.gps", "/home/user/\xE2\x82\xAC.gps", "/odd\nname%.gps",
                        "/\xE6\x97\xA5\xE6\x9C\xAC.gps", "/last.gps"};
    WriteSettingsFile(path, full);
    const std::string recent = Slurp(path);
    Put("settings_file", "recent-files.cfg", recent);
    Put("settings_file", "recent-files-lf.cfg", LfOnly(recent));
    Put("settings_file", "recent-files-cr.cfg", CrOnly(recent));
    Put("settings_file", "version-1.0.1.cfg", Replace(defaults, "1.0.0", "1.0.1"));
    const std::size_t seventhLine = recent.find("GPS Display Mode");
    Put("settings_file", "ends-after-last-project.cfg", recent.substr(0, seventhLine));
    Put("settings_file", "ends-after-display-mode.cfg", recent.substr(0, recent.find("Recent Open")));
    Put("settings_file", "seven-recent.cfg", defaults + "/1\r\n/2\r\n/3\r\n/4\r\n/5\r\n/6\r\n/7\r\n");
    for (const char* mode : {"300", "-1", "$10", "abc", ""})
        Put("settings_file", std::string("display-mode-") + (*mode ? mode : "empty") + ".cfg",
            Replace(defaults, "Mode\r\n1\r\n", std::string("Mode\r\n") + mode + "\r\n"));
    Put("settings_file", "marked-escapes.cfg",
        Replace(defaults, "Recent Open Files List\r\n",
                "Recent Open Files List\r\n\xEF\xBB\xBF%25%0d%0A%zz%4\r\n\xEF\xBB\xBF\xFF\xFE\r\n"));
}

void MapTextSeeds()
{
    const std::vector<std::string> texts = {
        "45.764043, 4.835659", "Home@45.764043,4.835659", "N45.5 W0.25", "S33.86,E151.21",
        "45.5S,0.25", "45.76,4.83,15z", "@,", "Caf\xC3\xA9\r\nBar@-90,180", "a@b@1,2",
        "N 45\xC2\xB0" "30,5',E 4\xC2\xB0" "50'", "90.0000001,-180", "1e2,.5"};
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const unsigned char mode = static_cast<unsigned char>(1 + i % 4);
        Put("map_text", "clipboard-" + std::to_string(i) + "-mode" + std::to_string(mode),
            std::string(1, static_cast<char>(mode)) + texts[i]);
    }
    Put("map_text", "project-full", std::string(1, static_cast<char>(1 | (3 << 3))) + "1,2");
    Put("map_text", "project-149-mode2", std::string(1, static_cast<char>(2 | (2 << 3))) + "-0.5,-0.25");
}

void NumberTextSeeds()
{
    const char noFilter = 0x20, allClasses = 0x1F, digitsAndMarks = 0x05, digitsOnly = 0x01;
    const std::vector<std::pair<char, std::string>> seeds = {
        {noFilter, "5."}, {noFilter, ".5"}, {noFilter, "."}, {noFilter, ""}, {noFilter, "+"},
        {noFilter, "1.2.3"}, {noFilter, "  -12.5e-3\t"}, {noFilter, "1e4932"},
        {noFilter, "1.18973149535723176502e4932"}, {noFilter, "3.6e-4951"},
        {noFilter, "$7FFFFFFF"}, {noFilter, "0x80000000"}, {noFilter, "-2147483648"},
        {noFilter, "2147483648"}, {noFilter, " x1f"}, {noFilter, "45.5078125"}, {noFilter, "5E-5"},
        {noFilter, "59.9999999999999999"}, {noFilter, "-0"}, {noFilter, "nan"}, {noFilter, "inf"},
        {noFilter, "0x1p3"}, {allClasses, "N 45\xC2\xB0" "30,5'"}, {allClasses, "S12.5"},
        {allClasses, "W 0.1276"}, {digitsAndMarks, "12,5 min"}, {digitsOnly, "12.5"},
        {allClasses, "45.5S"}, {allClasses, "4.83.15"}};
    for (std::size_t i = 0; i < seeds.size(); ++i)
        Put("number_text", "text-" + std::to_string(i), std::string(1, seeds[i].first) + seeds[i].second);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
        return 2;
    }
    Root = argv[1];
    const std::filesystem::path scratch = std::filesystem::temp_directory_path() / "uzuviv-seeds";
    std::filesystem::create_directories(scratch);
    ProjectSeeds(scratch);
    GPSSeeds(scratch);
    GpxSeeds(scratch);
    SettingsSeeds(scratch);
    MapTextSeeds();
    NumberTextSeeds();
    std::filesystem::remove_all(scratch);
    return 0;
}
