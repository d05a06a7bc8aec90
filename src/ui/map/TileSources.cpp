#include "ui/map/TileSources.h"

#include "text/text.h"

namespace uzuviv {

namespace {

const TileSource Sources[] = {
    {8, DefaultTileUrl, "", OsmFixTheMapUrl},
    // OpenTopoMap draws OpenStreetMap data, so its faults are mended there too.
    {9, "https://tile.opentopomap.org/{z}/{x}/{y}.png",
     "SRTM | Map style: © <a href=\"https://opentopomap.org\">OpenTopoMap</a> "
     "(<a href=\"https://creativecommons.org/licenses/by-sa/3.0/\">CC-BY-SA</a>)",
     OsmFixTheMapUrl},
};

} // namespace

std::span<const TileSource> TileSources()
{
    return Sources;
}

const TileSource* TileSourceFor(const QString& urlTemplate)
{
    for (const TileSource& source : Sources)
        if (urlTemplate == QLatin1String(source.UrlTemplate))
            return &source;
    return nullptr;
}

QString AttributionHtml(const QString& urlTemplate)
{
    QString html = QStringLiteral("<a href=\"%1\">© OpenStreetMap contributors</a>")
                       .arg(QLatin1String(OsmCopyrightUrl));
    const TileSource* source = TileSourceFor(urlTemplate);
    if (source != nullptr && *source->Credit != '\0')
        html += QStringLiteral(", ") + QString::fromUtf8(source->Credit);
    if (source != nullptr && *source->ReportUrl != '\0')
        html += QStringLiteral(" | <a href=\"%1\">%2</a>")
                    .arg(QLatin1String(source->ReportUrl),
                         QString::fromStdString(LanguageText(TextTable::MapTexts, 12)).toHtmlEscaped());
    return html;
}

} // namespace uzuviv
