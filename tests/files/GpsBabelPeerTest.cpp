// GPX and KML exchanged with a real peer, GPSBabel, where it is installed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "files/ExchangeTestSupport.h"
#include "files/GpxFile.h"
#include "files/KmlFile.h"
#include "geo/Geodesy.h"
#include "model/NumberText.h"

namespace uzuviv {
namespace {

using filetest::TempFolder;
using filetest::XmlElement;

constexpr double Degrees = 1e-9;   // GPSBabel writes nine decimals

class GpsBabelPeer : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (std::system("command -v gpsbabel >/dev/null 2>&1") != 0)
            GTEST_SKIP() << "gpsbabel is not installed (Debian package gpsbabel): peer tests skipped";
    }

    // What GPSBabel reads from `input`, as the GPX it writes of it.
    static std::unique_ptr<XmlElement> Peer(const TempFolder& folder, const std::string& format, const std::string& input)
    {
        const std::string command = "gpsbabel -i " + format + " -f '" + input + "' -o gpx -F '" + folder / "peer.gpx" + "'";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        return filetest::ParseXml(filetest::ReadBytes(folder / "peer.gpx"));
    }

    static void ExpectPosition(const XmlElement& element, const TGPSRecord& record)
    {
        EXPECT_NEAR(ParseDecimal(element.Attribute("lat")), record.Latitude, Degrees);
        EXPECT_NEAR(ParseDecimal(element.Attribute("lon")), record.Longitude, Degrees);
    }
};

// GPSBabel trims blanks at both ends of a name and makes one up for an empty name.
TProjectType Tour()
{
    TProjectType project;
    project.Records.push_back({48.8566L, 2.3522L, 100, 2, 7, "<" + filetest::ExchangeableCharacters() + ">"});
    project.Records.push_back({1.0L / 3, -2.0L / 3, 5, 1, 1, "\xC3\x89glise Saint-\xC3\x89tienne"});
    project.Records.push_back({-90, 180, 0, 3, 999, "South pole"});
    project.Records.push_back({89.999999999L, -179.999999999L, 1000, 1, 2, "\xE2\x82\xAC \xC5\x92 \xC3\xBF"});
    project.Records.push_back({-33.868800001234567L, 151.209300009876543L, 30, 2, 3, "Sydney"});
    return project;
}

TEST_F(GpsBabelPeer, ReadsOurGpxToTheSameCoordinatesAndNames)
{
    TempFolder folder;
    filetest::RecordingProgress progress;
    const TProjectType project = Tour();
    WriteGpxFile(folder / "ours.gpx", project, progress);
    const auto gpx = Peer(folder, "gpx", folder / "ours.gpx");
    ASSERT_TRUE(gpx);
    const auto points = gpx->All("wpt");
    ASSERT_EQ(points.size(), project.Records.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        ExpectPosition(*points[i], project.Records[i]);
        EXPECT_EQ((*points[i])["name"].Text, project.Records[i].Comments);
    }
}

TEST_F(GpsBabelPeer, ItsGpxFromACsvOfNamedPointsImportsToTheSamePoints)
{
    TempFolder folder;
    filetest::WriteBytes(folder / "points.csv", "lat,lon,name\n"
                                                "48.8566,2.3522,Tour Eiffel\n"
                                                "-12.3456789,-77.0282,\"\xC3\x89glise, porte nord\"\n"
                                                "45.764043,4.835659,Caf\xC3\xA9 des Fr\xC3\xA8res\n"
                                                "-89.999999999,179.999999999,Stra\xC3\x9F" "e \xE2\x82\xAC 5\n"
                                                "0.000000001,-0.000000001,Na\xC3\xAFve \xE6\x97\xA5\n");
    ASSERT_TRUE(Peer(folder, "unicsv", folder / "points.csv"));
    TProjectType project;
    filetest::RecordingProgress progress;
    ReadGpxFile(folder / "peer.gpx", project, progress);
    const TGPSRecord expected[] = {
        {48.8566L, 2.3522L, 0, 1, 1, "Tour Eiffel"},
        {-12.3456789L, -77.0282L, 0, 1, 1, "\xC3\x89glise, porte nord"},
        {45.764043L, 4.835659L, 0, 1, 1, "Caf\xC3\xA9 des Fr\xC3\xA8res"},
        {-89.999999999L, 179.999999999L, 0, 1, 1, "Stra\xC3\x9F" "e \xE2\x82\xAC 5"},
        {0.000000001L, -0.000000001L, 0, 1, 1, "Na\xC3\xAFve ?"},
    };
    ASSERT_EQ(project.Records.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        TGPSRecord record = project.Records[i];
        EXPECT_NEAR(record.Latitude, expected[i].Latitude, Degrees) << i;
        EXPECT_NEAR(record.Longitude, expected[i].Longitude, Degrees) << i;
        record.Latitude = expected[i].Latitude;
        record.Longitude = expected[i].Longitude;
        EXPECT_FALSE(RecordsDiffer(record, expected[i])) << i << " " << record.Comments;
    }
}

// Each point comes back as a waypoint, each zone as a track of the same name around it.
TEST_F(GpsBabelPeer, ReadsOurKmlToTheSamePlacemarks)
{
    TempFolder folder;
    filetest::RecordingProgress progress;
    const TProjectType project = Tour();
    WriteKmlFile(folder / "ours.kml", project, progress);
    const auto gpx = Peer(folder, "kml", folder / "ours.kml");
    ASSERT_TRUE(gpx);
    const auto points = gpx->All("wpt");
    const auto zones = gpx->All("trk");
    ASSERT_EQ(points.size(), project.Records.size());
    ASSERT_EQ(zones.size(), project.Records.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        const TGPSRecord& record = project.Records[i];
        ExpectPosition(*points[i], record);
        EXPECT_EQ((*points[i])["name"].Text, record.Comments);
        EXPECT_EQ((*zones[i])["name"].Text, record.Comments);
        const auto ring = (*zones[i])["trkseg"].All("trkpt");
        EXPECT_GE(ring.size(), 64u);
        const LatLon centre{static_cast<double>(record.Latitude), static_cast<double>(record.Longitude)};
        for (const XmlElement* vertex : ring) {
            const LatLon at{static_cast<double>(ParseDecimal(vertex->Attribute("lat"))),
                            static_cast<double>(ParseDecimal(vertex->Attribute("lon")))};
            EXPECT_NEAR(GeodesicDistance(centre, at), record.Tolerance, 0.001) << i;   // 1e-9 degree: 0.1 mm
        }
    }
}

} // namespace
} // namespace uzuviv
