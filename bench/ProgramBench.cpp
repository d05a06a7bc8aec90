// The whole program with a large project: the real main window (offscreen) opens a project file
// of N points, shows the list, scrolls through it and takes ten one-point edits. Reports the
// time from the end of the file's reading to the painted list, each scroll step, and the
// resident memory above the empty program.
// Usage: bench_program [points]   (default 1,000,000)
#include <QAbstractItemModel>
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "ModalWatchdog.h"
#include "editing/DocumentCommands.h"
#include "editing/PanelLogic.h"
#include "editing/RowSelection.h"
#include "ui/Main.h"

namespace uzuviv::bench {
namespace {

constexpr int EditCount = 10;

double Milliseconds(const QElapsedTimer& timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

// Lays out and paints the list now, as the screen would on the next frame.
void PaintList(QTableView* list)
{
    QCoreApplication::processEvents();
    list->viewport()->repaint();
}

void ReportMemory(const char* phase, const MemoryUse& use, const MemoryUse& empty)
{
    std::printf("%-40s RSS %8.1f MB  (%+8.1f MB above the empty program, peak %.1f MB)\n", phase,
                use.CurrentKiB / 1024.0, (use.CurrentKiB - empty.CurrentKiB) / 1024.0,
                use.PeakKiB / 1024.0);
}

struct StepTimes {
    std::vector<double> Samples;
    void Add(double ms) { Samples.push_back(ms); }
    void Print(const char* what) const
    {
        std::vector<double> sorted = Samples;
        std::sort(sorted.begin(), sorted.end());
        double total = 0;
        for (double ms : sorted)
            total += ms;
        std::printf("%-40s %zu steps: mean %.2f ms, median %.2f ms, worst %.2f ms\n", what,
                    sorted.size(), total / static_cast<double>(sorted.size()),
                    sorted[sorted.size() / 2], sorted.back());
    }
};

int Run(std::size_t points)
{
    const std::string path = ScratchFolder() + "/program.gps";
    if (!MakeProjectFileInAChild(path, points)) {
        std::fprintf(stderr, "bench_program: cannot make the project file\n");
        return 1;
    }
    std::printf("points: %zu\n", points);

    TForm1 window(QString::fromStdString(ScratchFolder() + "/settings.cfg"));
    window.resize(1024, 768);
    window.show();
    window.activateWindow();
    QTableView* list = window.PointList();
    PaintList(list);
    const ModalWatchdog watchdog("bench_program");
    const MemoryUse empty = ReadMemoryUse();
    ReportMemory("empty program", empty, empty);

    // Open as the Open command does; the list is rebuilt inside, so it is timed apart below.
    QElapsedTimer timer;
    timer.start();
    if (!window.Commands().OpenFile(path)
        || window.CurrentDocument().CurrentProject()->Records.size() != points) {
        std::fprintf(stderr, "bench_program: the project file did not open\n");
        return 1;
    }
    window.RefreshCommands();
    PaintList(list);
    const double openMs = Milliseconds(timer);
    // What the window adds after the reading: the model reset and the first painted list.
    timer.restart();
    window.RebuildPointList();
    window.RefreshCommands();
    PaintList(list);
    const double showMs = Milliseconds(timer);
    std::printf("%-40s %.1f ms\n", "open, read and shown", openMs);
    std::printf("%-40s %.1f ms  (%d rows in the model)\n", "list shown after the reading", showMs,
                list->model()->rowCount());
    ReportMemory("project opened", ReadMemoryUse(), empty);

    // Scrolling: page by page from the top, jumps to anywhere, as a scroll bar drag does.
    QScrollBar* bar = list->verticalScrollBar();
    StepTimes pages, jumps;
    for (int step = 0; step < 200; ++step) {
        timer.restart();
        bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
        PaintList(list);
        pages.Add(Milliseconds(timer));
    }
    for (int step = 0; step <= 100; ++step) {
        timer.restart();
        bar->setValue(static_cast<int>(static_cast<long long>(bar->maximum()) * ((step * 37) % 101) / 100));
        PaintList(list);
        jumps.Add(Milliseconds(timer));
    }
    pages.Print("scroll a page");
    jumps.Print("jump anywhere (scroll bar drag)");

    // Ten one-point edits through the panel, spread over the project.
    for (int edit = 1; edit <= EditCount; ++edit) {
        window.SetSelection(RowSelection::Single(points * static_cast<std::size_t>(edit - 1) / EditCount));
        PanelTexts texts = window.ReadPanel();
        texts[PanelBox::Comments] = "Relevé n° " + std::to_string(edit);
        window.WritePanel(texts);
        window.findChild<QPushButton*>(QStringLiteral("mxFlatSpeedButton1"))->click();
        PaintList(list);
    }
    if (window.CurrentDocument().History.Count() < static_cast<std::size_t>(EditCount)) {
        std::fprintf(stderr, "bench_program: the edits were not recorded\n");
        return 1;
    }
    const MemoryUse edited = ReadMemoryUse();
    ReportMemory("after ten one-point edits", edited, empty);

    // Leave without the save prompt.
    window.CurrentDocument().MarkSaved();
    return 0;
}

} // namespace
} // namespace uzuviv::bench

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::size_t points = uzuviv::bench::PointsArgument(argc, argv, "bench_program");
    if (points == 0)
        return 2;
    QApplication application(argc, argv);
    return uzuviv::bench::Run(points);
}
