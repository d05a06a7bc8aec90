#pragma once

#include <QWidget>

#include "files/UnitOfCodes.h"

namespace uzuviv {

// A 0..100 bar with its percentage written over it. A change of the whole percentage repaints
// at once: the file operations hold the GUI thread, so the event loop would not.
class GaugeBar : public QWidget {
    Q_OBJECT
public:
    explicit GaugeBar(QWidget* parent = nullptr);
    int Progress() const { return progress_; }
    void SetProgress(int value);
    int RepaintCount() const { return repaints_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int progress_ = 0;
    int repaints_ = 0;
};

// The progress window shown while files are read and written.
class TForm4 : public QWidget, public ProgressSink {
    Q_OBJECT
public:
    explicit TForm4(QWidget* parent = nullptr);

    void Show(const std::string& caption) override;
    void SetProgress(int percent) override;
    void Close() override;

    GaugeBar* Gauge1() const { return gauge_; }

private:
    GaugeBar* gauge_;
};

} // namespace uzuviv
