#include "files/KmlFile.h"

#include <array>
#include <charconv>
#include <cstdint>

#include "files/Exchange.h"
#include "files/XmlText.h"
#include "geo/Geodesy.h"
#include "model/CoordinateFormats.h"
#include "model/NumberText.h"
#include "model/RoundTripText.h"
#include "text/text.h"

namespace uzuviv {

namespace {

// A semi-transparent red zone with a solid outline (KML colours are aabbggrr).
constexpr std::string_view ZoneStyle =
    "    <Style id=\"zone\"><LineStyle><color>ff0000ff</color><width>2</width></LineStyle>"
    "<PolyStyle><color>400000ff</color></PolyStyle></Style>";

void AppendDegrees(std::string& kml, double degrees)
{
    std::array<char, 400> buffer{};
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), degrees,
                                   std::chars_format::fixed).ptr;
    kml.append(buffer.data(), end);
}

// The tolerance, mode and file reference, labelled as the point list labels them.
std::string Description(const TGPSRecord& record)
{
    std::string text = LanguageText(TextTable::ListTexts, 4) + ": ";
    AppendPaddedInteger(text, record.Tolerance, 1);
    text += " m; " + LanguageText(TextTable::ListTexts, 5) + ": " + ModeName(record.Mode) + "; "
            + LanguageText(TextTable::ListTexts, 6) + ": ";
    AppendPaddedInteger(text, record.FileRef, 3);
    return text;
}

void AppendPlacemarks(std::string& kml, const TGPSRecord& record)
{
    kml += "      <Placemark>";
    AppendXmlElement(kml, "name", record.Comments);
    AppendXmlElement(kml, "description", Description(record));
    kml += "<Point><coordinates>";
    AppendRoundTripText(kml, record.Longitude);
    kml += ',';
    AppendRoundTripText(kml, record.Latitude);
    kml += "</coordinates></Point></Placemark>\r\n      <Placemark>";
    AppendXmlElement(kml, "name", record.Comments);
    kml += "<styleUrl>#zone</styleUrl><Polygon><tessellate>1</tessellate><outerBoundaryIs><LinearRing><coordinates>";
    const LatLon centre{static_cast<double>(record.Latitude), static_cast<double>(record.Longitude)};
    const std::vector<LatLon> circle = GeodesicCircle(centre, record.Tolerance, ZoneVertices);
    for (std::size_t i = 0; i <= circle.size(); ++i) {
        const LatLon& vertex = circle[i % circle.size()];
        if (i > 0)
            kml += ' ';
        AppendDegrees(kml, vertex.Longitude);
        kml += ',';
        AppendDegrees(kml, vertex.Latitude);
    }
    kml += "</coordinates></LinearRing></outerBoundaryIs></Polygon></Placemark>";
}

} // namespace

void WriteKmlFile(const std::string& path, const TProjectType& project, ProgressSink& progress)
{
    CheckExportable(project, false);
    std::string head(XmlDeclaration);
    head += "\r\n<kml xmlns=\"http://www.opengis.net/kml/2.2\">\r\n  <Document>\r\n    ";
    AppendXmlElement(head, "name", project.ProjectName);
    head += "\r\n";
    head += ZoneStyle;
    head += "\r\n    <Folder>\r\n      ";
    AppendXmlElement(head, "name", project.ProjectName);
    WriteExchangeFile(path, project, progress, ExchangeText::ExportingKml, head,
                      "    </Folder>\r\n  </Document>\r\n</kml>", AppendPlacemarks);
}

} // namespace uzuviv
