#include "ui/Gauge.h"

#include <algorithm>

#include <QApplication>
#include <QElapsedTimer>
#include <QWindow>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

namespace uzuviv {

GaugeBar::GaugeBar(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Gauge1"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void GaugeBar::SetProgress(int value)
{
    value = std::clamp(value, 0, 100);
    if (value == progress_)
        return;
    progress_ = value;
    ++repaints_;
    repaint();
}

void GaugeBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect outer = rect().adjusted(0, 0, -1, -1);
    painter.setPen(Qt::black);
    painter.drawRect(outer);
    const QRect inner = rect().adjusted(1, 1, -1, -1);
    painter.fillRect(inner, Qt::white);
    const int band = inner.width() * progress_ / 100;
    if (band >= 1)
        painter.fillRect(QRect(inner.left(), inner.top(), band, inner.height()), QColor(0, 0, 128));
    // White text combined by difference stays readable over both the navy and the white part.
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.setPen(Qt::white);
    painter.drawText(inner, Qt::AlignCenter, QStringLiteral("%1%").arg(progress_));
}

TForm4::TForm4(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint
                          | Qt::WindowTitleHint)
    , gauge_(new GaugeBar(this))
{
    setObjectName(QStringLiteral("TForm4"));
    setWindowTitle(QStringLiteral("Process..."));
    setFixedSize(226, 58);
    gauge_->setGeometry(16, 16, 193, 25);
}

void TForm4::Show(const std::string& caption)
{
    setWindowTitle(QString::fromStdString(caption));
    gauge_->SetProgress(0);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    raise();
    // The caller holds the GUI thread until it is done, so the window must reach the screen now:
    // let the window system map and expose it (user input stays queued), for a moment at most.
    QElapsedTimer waited;
    waited.start();
    do {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
    } while (windowHandle() != nullptr && !windowHandle()->isExposed() && waited.elapsed() < 250);
    gauge_->repaint();
}

void TForm4::SetProgress(int percent)
{
    gauge_->SetProgress(percent);
}

void TForm4::Close()
{
    hide();
}

} // namespace uzuviv
