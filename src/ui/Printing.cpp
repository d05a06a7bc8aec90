#include "ui/Printing.h"

#include <array>
#include <cstddef>

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

using ColumnEdges = std::array<int, ColumnCount>;

void DrawHeaderLine(PrintCanvas& canvas, const ColumnEdges& edges)
{
    canvas.SetBold(true);
    for (int column = 0; column < ColumnCount; ++column)
        canvas.DrawText(edges[static_cast<std::size_t>(column)], 0,
                        QString::fromStdString(LanguageText(TextTable::ListTexts, column + 1)));
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
    ColumnEdges edges{};
    for (std::size_t column = 0; column < edges.size(); ++column)
        edges[column] = canvas.TextWidth(QString::fromLatin1(EdgeTemplates[column]));
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
    : painter_(painter), device_(device), font_(QStringLiteral("System"))
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
    device_.newPage();
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
