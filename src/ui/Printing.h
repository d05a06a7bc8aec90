#pragma once

#include <functional>

#include <QFont>
#include <QString>

#include "model/ProjectClasses.h"

class QPainter;
class QPagedPaintDevice;
class QPaintDevice;
class QWidget;

namespace uzuviv {

// Where the table is drawn: measuring, bold on/off, text at a point, page height, new page.
class PrintCanvas {
public:
    virtual ~PrintCanvas() = default;
    virtual void SetBold(bool bold) = 0;
    virtual int TextWidth(const QString& text) = 0;
    virtual int TextHeight(const QString& text) = 0;
    virtual int PageHeight() = 0;
    virtual void DrawText(int x, int y, const QString& text) = 0;   // (x, y) = top-left
    virtual void NewPage() = 0;
};

// Draws the point list on any canvas: bold header line, then one line per record, breaking
// pages by the top of the next line. The canvas starts in its regular font. `project` may be
// null: the header line alone is printed.
void RenderPointList(PrintCanvas& canvas, const TProjectType* project, int displayMode);

// A canvas over a QPainter already begun on a paged device (QPrinter, QPdfWriter): font
// "System" 10 pt (or whatever plain font the system substitutes), black. Coordinates are the
// device pixels of the printable area.
class PainterCanvas : public PrintCanvas {
public:
    PainterCanvas(QPainter& painter, QPagedPaintDevice& device);
    // The same on any device, a QImage to look at a page for instance; `newPage` ends the page
    // drawn so far and gives a blank one.
    PainterCanvas(QPainter& painter, QPaintDevice& device, std::function<void()> newPage);

    void SetBold(bool bold) override;
    int TextWidth(const QString& text) override;
    int TextHeight(const QString& text) override;
    int PageHeight() override;
    void DrawText(int x, int y, const QString& text) override;
    void NewPage() override;

private:
    QPainter& painter_;
    QPaintDevice& device_;
    std::function<void()> newPage_;
    QFont font_;
};

// The Print command: shows the print dialog (objectName "PrintDialog1", modal); on OK prints
// the table on the chosen printer, on Cancel does nothing. The job is always ended.
void PrintPointList(QWidget* parent, const TProjectType* project, int displayMode);

} // namespace uzuviv
