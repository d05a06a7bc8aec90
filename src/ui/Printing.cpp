#include "ui/Printing.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <utility>

#include <QDialog>
#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include "model/CoordinateFormats.h"
#include "text/text.h"

namespace uzuviv {

namespace {

constexpr int ColumnCount = 7;

// Each column's left edge is the width of its template in the regular font; the templates stand
// for the widest expected texts of the columns before it and are never printed.
constexpr std::array<const char*, ColumnCount> EdgeTemplates = {
    "",
    "000 - ",
    "000 - +000.000000 - ",
    "000 - +000.000000 - +000.000000 - ",
    "000 - +000.000000 - +000.000000 - XXXXXXX - ",
    "000 - +000.000000 - +000.000000 - XXXXXXX - XXXXXXXXXX - ",
    "000 - +000.000000 - +000.000000 - XXXXXXX - XXXXXXXXXX - XXXXX - ",
};

// What the templates leave between the end of a text and the next column.
constexpr const char* ColumnGap = " - ";

using ColumnEdges = std::array<int, ColumnCount>;

QString HeaderText(int column)
{
    return QString::fromStdString(LanguageText(TextTable::ListTexts, column + 1));
}

// Each column is as wide as its template allows, or wider where one of its texts needs more (the
// sexagesimal coordinates, a thousandth point, a long mode name): a point's text keeps the
// templates' gap before the next column, a header at least does not run into it. With the
// texts the templates stand for, the edges are the templates' own.
ColumnEdges MeasureEdges(PrintCanvas& canvas, const TProjectType* project, int displayMode)
{
    std::array<int, ColumnCount> widest{};
    const int gap = canvas.TextWidth(QString::fromLatin1(ColumnGap));
    if (project != nullptr) {
        for (std::size_t index = 0; index < project->Records.size(); ++index) {
            const ListRowTexts texts = ListRow(project->Records[index], index, displayMode);
            for (std::size_t column = 0; column + 1 < ColumnCount; ++column)
                widest[column] = std::max(widest[column],
                                          canvas.TextWidth(QString::fromStdString(texts[column])) + gap);
        }
    }
    canvas.SetBold(true);
    for (std::size_t column = 0; column + 1 < ColumnCount; ++column)
        widest[column] = std::max(widest[column], canvas.TextWidth(HeaderText(static_cast<int>(column))));
    canvas.SetBold(false);

    ColumnEdges templates{};
    for (std::size_t column = 1; column < ColumnCount; ++column)
        templates[column] = canvas.TextWidth(QString::fromLatin1(EdgeTemplates[column]));
    ColumnEdges edges{};
    for (std::size_t column = 1; column < ColumnCount; ++column)
        edges[column] = edges[column - 1]
                        + std::max(templates[column] - templates[column - 1], widest[column - 1]);
    return edges;
}

void DrawHeaderLine(PrintCanvas& canvas, const ColumnEdges& edges)
{
    canvas.SetBold(true);
    for (int column = 0; column < ColumnCount; ++column)
        canvas.DrawText(edges[static_cast<std::size_t>(column)], 0, HeaderText(column));
    canvas.SetBold(false);
}

// Ends the painter's job however the rendering ends, so no print job stays open.
class PainterJob {
public:
    explicit PainterJob(QPainter& painter) : painter_(painter) {}
    ~PainterJob()
    {
        if (painter_.isActive())
            painter_.end();
    }
    PainterJob(const PainterJob&) = delete;
    PainterJob& operator=(const PainterJob&) = delete;

private:
    QPainter& painter_;
};

} // namespace

void RenderPointList(PrintCanvas& canvas, const TProjectType* project, int displayMode)
{
    canvas.SetBold(false);
    const ColumnEdges edges = MeasureEdges(canvas, project, displayMode);
    const int lineHeight = canvas.TextHeight(QStringLiteral("X"));
    const int pageHeight = canvas.PageHeight();

    DrawHeaderLine(canvas, edges);
    if (project == nullptr)
        return;

    int y = 0;
    for (std::size_t index = 0; index < project->Records.size(); ++index) {
        y += lineHeight;
        if (y >= pageHeight) {
            canvas.NewPage();
            DrawHeaderLine(canvas, edges);
            y = lineHeight;
        }
        const ListRowTexts texts = ListRow(project->Records[index], index, displayMode);
        for (std::size_t column = 0; column < texts.size(); ++column)
            canvas.DrawText(edges[column], y, QString::fromStdString(texts[column]));
    }
}

PainterCanvas::PainterCanvas(QPainter& painter, QPagedPaintDevice& device)
    : PainterCanvas(painter, device, [&device]() { device.newPage(); })
{
}

PainterCanvas::PainterCanvas(QPainter& painter, QPaintDevice& device, std::function<void()> newPage)
    : painter_(painter), device_(device), newPage_(std::move(newPage)), font_(QStringLiteral("System"))
{
    font_.setPointSize(10);
    font_.setStyleHint(QFont::SansSerif);
    font_.setBold(false);
    painter_.setFont(font_);
    painter_.setPen(Qt::black);
}

void PainterCanvas::SetBold(bool bold)
{
    font_.setBold(bold);
    painter_.setFont(font_);
}

int PainterCanvas::TextWidth(const QString& text)
{
    return painter_.fontMetrics().horizontalAdvance(text);
}

int PainterCanvas::TextHeight(const QString& text)
{
    // The font's line height, as a printer canvas reports it, not the ink of the glyphs.
    return painter_.fontMetrics().size(Qt::TextSingleLine, text).height();
}

int PainterCanvas::PageHeight()
{
    return device_.height();
}

void PainterCanvas::DrawText(int x, int y, const QString& text)
{
    painter_.drawText(x, y + painter_.fontMetrics().ascent(), text);
}

void PainterCanvas::NewPage()
{
    newPage_();
    // A new page may reset the painter's state on some devices; keep the current font and pen.
    painter_.setFont(font_);
    painter_.setPen(Qt::black);
}

void PrintPointList(QWidget* parent, const TProjectType* project, int displayMode)
{
    QPrinter printer;
    QPrintDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("PrintDialog1"));
    dialog.setModal(true);
    if (dialog.exec() != QDialog::Accepted)
        return;

    QPainter painter;
    if (!painter.begin(&printer))
        return;   // the print system has already refused the job; it reports that itself
    PainterJob job(painter);
    PainterCanvas canvas(painter, printer);
    RenderPointList(canvas, project, displayMode);
}

} // namespace uzuviv
