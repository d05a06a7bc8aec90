#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "files/ExchangeTestSupport.h"
#include "files/KmlFile.h"
#include "geo/Geodesy.h"
#include "model/NumberText.h"
#include "model/RoundTripText.h"
#include "text/text.h"

namespace uzuviv {
namespace {

using filetest::XmlElement;

std::vector<LatLon> Coordinates(const std::string& text)
{
    std::vector<LatLon> tuples;
    std::istringstream words(text);
    std::string tuple;
    while (words >> tuple) {
        const std::size_t comma = tuple.find(',');
        tuples.push_back({static_cast<double>(ParseDecimal(tuple.substr(comma + 1))),
                          static_cast<double>(ParseDecimal(tuple.substr(0, comma)))});
    }
    return tuples;
}

TEST(KmlFile, EachPointAndItsZoneInOneFolder)
{
    TProjectType project;
    project.ProjectName = "Tour <&> \xC3\xA9t\xC3\xA9";
    project.Records.push_back({48.8566L, 2.3522L, 100, 2, 7, "Gate \"A\" & co"});
    project.Records.push_back({-33.8688L, 151.2093L, 1000, 3, 12, ""});
    project.Records.push_back({89.9995L, -179.9999L, 0, 1, 999, "pole"});
    project.Records.push_back({0, 0, 25, 9, 1, "null island"});
    const char* descriptions[] = {"Tolerance: 100 m; Mode: Alarm; File: 007", "Tolerance: 1000 m; Mode: Free Tour; File: 012",
                                  "Tolerance: 0 m; Mode: Track; File: 999", "Tolerance: 25 m; Mode: Track; File: 001"};
    LanguageIndex = 2;
    filetest::TempFolder folder;
    filetest::RecordingProgress progress;
    WriteKmlFile(folder / "tour.kml", project, progress);
    EXPECT_EQ(progress.Events, (std::vector<std::string>{"Show Exporting KML file...", "25", "50", "75", "100", "Close"}));
    const auto kml = filetest::ParseXml(filetest::ReadBytes(folder / "tour.kml"));
    ASSERT_TRUE(kml);
    ASSERT_EQ((*kml)["Document"].All("Folder").size(), 1u);
    const XmlElement& projectFolder = (*kml)["Document"]["Folder"];
    EXPECT_EQ(projectFolder["name"].Text, project.ProjectName);
    const auto placemarks = projectFolder.All("Placemark");
    ASSERT_EQ(placemarks.size(), 2 * project.Records.size());
    for (std::size_t i = 0; i < project.Records.size(); ++i) {
        const TGPSRecord& record = project.Records[i];
        const XmlElement& point = *placemarks[2 * i];
        const XmlElement& zone = *placemarks[2 * i + 1];
        EXPECT_EQ(point["name"].Text, record.Comments);
        EXPECT_EQ(point["description"].Text, descriptions[i]);
        EXPECT_EQ(point["Point"]["coordinates"].Text, RoundTripText(record.Longitude) + "," + RoundTripText(record.Latitude));
        EXPECT_EQ(zone["name"].Text, record.Comments);
        const auto ring = Coordinates(zone["Polygon"]["outerBoundaryIs"]["LinearRing"]["coordinates"].Text);
        ASSERT_EQ(ring.size(), static_cast<std::size_t>(ZoneVertices) + 1) << i;
        EXPECT_EQ(ring.front().Latitude, ring.back().Latitude);
        EXPECT_EQ(ring.front().Longitude, ring.back().Longitude);
        const LatLon centre{static_cast<double>(record.Latitude), static_cast<double>(record.Longitude)};
        for (const LatLon& vertex : ring)
            EXPECT_NEAR(GeodesicDistance(centre, vertex), record.Tolerance, 1e-6) << i;
    }

    LanguageIndex = 1;
    WriteKmlFile(folder / "tour.kml", project, progress);
    EXPECT_EQ((*filetest::ParseXml(filetest::ReadBytes(folder / "tour.kml")))["Document"]["Folder"]["Placemark"]["description"].Text,
              "Tol\xC3\xA9rance: 100 m; Mode: Alarme; Fichier: 007");
    LanguageIndex = 2;
}

} // namespace
} // namespace uzuviv
