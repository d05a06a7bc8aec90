// The map beside the point list, under QT_QPA_PLATFORM=offscreen: a frame of panning and of
// zooming drawn by the real window's map, selecting a row while the map shows, and what the
// map's layer (places, zone radii, overlapping zones) costs to rebuild after an edit.
#include <QAction>
#include <QApplication>
#include <QSettings>
#include <QStandardPaths>

#include <benchmark/benchmark.h>

#include <map>
#include <memory>

#include "BenchSupport.h"
#include "Generator.h"
#include "ModalWatchdog.h"
#include "editing/MapLayer.h"
#include "ui/Main.h"
#include "ui/map/MapPanel.h"
#include "ui/map/MapView.h"

namespace uzuviv::bench {
namespace {

const TProjectType& Project(std::size_t count)
{
    static std::map<std::size_t, TProjectType> made;
    auto it = made.find(count);
    if (it == made.end())
        it = made.emplace(count, GenerateProject(count)).first;
    return it->second;
}

// The window with the map open beside the list, holding a project of `count` points. No tile
// server: the map draws its grid, so the figures are the map's own drawing.
class MapDriver {
public:
    MapDriver() : window_(QString::fromStdString(ScratchFolder() + "/settings.ini")), watchdog_("bench_map")
    {
        window_.resize(1280, 900);
        window_.show();
        window_.Map()->SetTileUrl(QString());
        window_.findChild<QAction*>("ShowMap1")->trigger();
        QCoreApplication::processEvents();
    }

    void Load(std::size_t count)
    {
        if (loaded_ == count)
            return;
        Document& document = window_.CurrentDocument();
        document.ResetProject();
        *document.CurrentProject() = Project(count);
        document.MarkSaved();
        window_.RebuildPointList();
        window_.RefreshCommands();
        QCoreApplication::processEvents();
        loaded_ = count;
    }

    MapView& View() { return *window_.Map()->View(); }
    TForm1& Window() { return window_; }

private:
    TForm1 window_;
    ModalWatchdog watchdog_;
    std::size_t loaded_ = 0;
};

std::unique_ptr<MapDriver> driver;
MapDriver& Driver()
{
    if (!driver)
        driver = std::make_unique<MapDriver>();
    return *driver;
}

// With UZUVIV_MAP_SHOTS set to a folder, the first frame of each case is saved there as a PNG,
// so drawings before and after a change can be compared.
void SaveShot(MapView& view, const std::string& name)
{
    const QByteArray folder = qgetenv("UZUVIV_MAP_SHOTS");
    if (!folder.isEmpty())
        view.grab().save(QString::fromUtf8(folder) + QLatin1Char('/') + QString::fromStdString(name) + ".png");
}

// Where the generated points gather: the first point's town.
LatLon Town(std::size_t count)
{
    const TGPSRecord& first = Project(count).Records.front();
    return {static_cast<double>(first.Latitude), static_cast<double>(first.Longitude)};
}

void MapPanFrame(benchmark::State& state)
{
    const auto count = static_cast<std::size_t>(state.range(0));
    const int zoom = static_cast<int>(state.range(1));
    MapDriver& d = Driver();
    d.Load(count);
    const LatLon town = Town(count);
    const double step = 40 * MetresPerPixel(town.Latitude, zoom) / 111320;   // 40 pixels east
    d.View().SetView(town, zoom);
    SaveShot(d.View(), "pan-" + std::to_string(count) + "-" + std::to_string(zoom));
    int frame = 0;
    for (auto _ : state) {
        d.View().SetView({town.Latitude, town.Longitude + (frame++ % 2 ? step : 0)}, zoom);
        d.View().repaint();
    }
    state.counters["visible_of"] = static_cast<double>(count);
}

void MapZoomFrame(benchmark::State& state)
{
    const auto count = static_cast<std::size_t>(state.range(0));
    const int zoom = static_cast<int>(state.range(1));
    MapDriver& d = Driver();
    d.Load(count);
    d.View().SetView(Town(count), zoom);
    const QPointF anchor(d.View().width() / 3.0, d.View().height() / 2.0);
    int frame = 0;
    for (auto _ : state) {
        d.View().ZoomBy(frame++ % 2 ? -1 : 1, anchor);
        d.View().repaint();
    }
}

void SelectRowWithMap(benchmark::State& state)
{
    const auto count = static_cast<std::size_t>(state.range(0));
    MapDriver& d = Driver();
    d.Load(count);
    d.View().SetView(Town(count), 14);
    d.Window().SetSelection(RowSelection::Single(0));
    QCoreApplication::processEvents();
    SaveShot(d.View(), "select-" + std::to_string(count));
    std::size_t row = 0;
    for (auto _ : state) {
        row = (row + count / 7 + 1) % count;
        d.Window().SetSelection(RowSelection::Single(row));
        QCoreApplication::processEvents();
    }
}

// A project opened or replaced: every place and overlap worked out.
void MapLayerRebuild(benchmark::State& state)
{
    const TProjectType& project = Project(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        MapLayer layer;
        layer.Rebuild(&project);
        benchmark::DoNotOptimize(layer.Count());
    }
}

// After an edit of one point (moved 110 m, as a drag does, then back): what the next paint
// works out again.
void MapLayerAfterEdit(benchmark::State& state)
{
    TProjectType project = Project(static_cast<std::size_t>(state.range(0)));
    MapLayer layer;
    layer.Rebuild(&project);
    TGPSRecord& point = project.Records[project.Records.size() / 2];
    int frame = 0;
    for (auto _ : state) {
        point.Latitude += frame++ % 2 ? -0.001 : 0.001;
        layer.Rebuild(&project);
    }
}

void Sizes(benchmark::internal::Benchmark* b, bool zooms)
{
    for (long count : {1000L, 100000L}) {
        if (!zooms) {
            b->Args({count});
            continue;
        }
        for (long zoom : {4L, 9L, 13L, 16L, 18L})
            b->Args({count, zoom});
    }
    b->Unit(benchmark::kMillisecond);
}

BENCHMARK(MapPanFrame)->Apply([](auto* b) { Sizes(b, true); });
BENCHMARK(MapZoomFrame)->Apply([](auto* b) { Sizes(b, true); });
BENCHMARK(SelectRowWithMap)->Apply([](auto* b) { Sizes(b, false); });
BENCHMARK(MapLayerRebuild)->Apply([](auto* b) { Sizes(b, false); });
BENCHMARK(MapLayerAfterEdit)->Apply([](auto* b) { Sizes(b, false); });

} // namespace
} // namespace uzuviv::bench

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    benchmark::Initialize(&argc, argv);
    QApplication application(argc, argv);
    // The map's per-user settings of a benchmark stay out of the user's own.
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                       QString::fromStdString(uzuviv::bench::ScratchFolder()));
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    uzuviv::bench::driver.reset();
    return 0;
}
