// The peak memory of a large import, the resident memory of the core holding a large project,
// and what each undo step adds.
// Usage: bench_memory [points]   (default 1,000,000)
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "BenchSupport.h"
#include "BenchView.h"
#include "editing/DocumentCommands.h"
#include "editing/PointCommands.h"

namespace uzuviv::bench {
namespace {

constexpr int EditCount = 10;

void Report(const char* phase, const MemoryUse& use)
{
    std::printf("%-44s peak %8.1f MB   now %8.1f MB\n", phase, use.PeakKiB / 1024.0,
                use.CurrentKiB / 1024.0);
}

// In a child of its own: how far the import of a GPS file raises the peak resident size,
// against the bytes its records take on the heap (the record array and the comments).
bool ReportImportPeak(std::size_t points)
{
    const std::string path = ScratchFolder() + "/memory.csv";
    if (!MakeGPSFileInAChild(path, points))
        return false;
    return RunInAChild([&] {
        NullProgress progress;
        TProjectType project;
        const std::size_t heapBefore = HeapBytesInUse();
        const bool reset = ResetPeakMemory();
        const MemoryUse before = ReadMemoryUse();
        ReadGPSFile(path, project, progress);
        const MemoryUse after = ReadMemoryUse();
        const double records = static_cast<double>(HeapBytesInUse() - heapBefore) / 1024.0;
        const double peak = static_cast<double>(after.PeakKiB - before.CurrentKiB);
        std::printf("import of a %zu-point GPS file (%.1f MB):\n", points,
                    static_cast<double>(std::filesystem::file_size(path)) / 1e6);
        std::printf("  records on the heap %8.1f MB (%.0f bytes per point; sizeof(TGPSRecord) %zu)\n",
                    records / 1024.0, records * 1024.0 / static_cast<double>(points), sizeof(TGPSRecord));
        std::printf("  peak resident rise  %8.1f MB%s\n", peak / 1024.0,
                    reset ? "" : " (peak not reset: includes the start)");
        std::printf("  peak / records      %8.2f\n", peak / records);
        return project.Records.size() == points ? 0 : 1;
    });
}

int Run(std::size_t points)
{
    if (!ReportImportPeak(points)) {
        std::fprintf(stderr, "bench_memory: the GPS file import did not run\n");
        return 1;
    }

    const std::string path = ScratchFolder() + "/memory.gps";
    if (!MakeProjectFileInAChild(path, points)) {
        std::fprintf(stderr, "bench_memory: cannot make the project file\n");
        return 1;
    }
    std::printf("points: %zu   sizeof(TGPSRecord): %zu bytes\n", points, sizeof(TGPSRecord));

    Document document;
    BenchView view;
    DocumentCommands commands(document, view);
    PointCommands editing(document, view, view);
    view.Points = &editing;
    document.ResetProject();
    const MemoryUse empty = ReadMemoryUse();
    Report("empty core (default project)", empty);

    if (!commands.OpenFile(path) || document.CurrentProject()->Records.size() != points) {
        std::fprintf(stderr, "bench_memory: the project file did not open\n");
        return 1;
    }
    const MemoryUse loaded = ReadMemoryUse();
    Report("project opened (current, saved, history base)", loaded);

    MemoryUse last = loaded;
    for (int edit = 1; edit <= EditCount; ++edit) {
        view.SetSelection(RowSelection::Single(points * static_cast<std::size_t>(edit - 1) / EditCount));
        PanelTexts texts = view.ReadPanel();
        texts[PanelBox::Comments] = "Relevé n° " + std::to_string(edit);
        view.WritePanel(texts);
        editing.SetPointData();
        last = ReadMemoryUse();
        const std::string phase = "after edit " + std::to_string(edit) + " (history "
            + std::to_string(document.History.Count()) + ")";
        Report(phase.c_str(), last);
    }
    std::printf("per undo step: %.1f MB (%.0f bytes per point)\n",
                (last.CurrentKiB - loaded.CurrentKiB) / 1024.0 / EditCount,
                (last.CurrentKiB - loaded.CurrentKiB) * 1024.0 / EditCount / static_cast<double>(points));
    std::printf("project alone: %.1f MB (%.0f bytes per point)\n",
                (loaded.CurrentKiB - empty.CurrentKiB) / 1024.0 / 3,
                (loaded.CurrentKiB - empty.CurrentKiB) * 1024.0 / 3 / static_cast<double>(points));
    return 0;
}

} // namespace
} // namespace uzuviv::bench

int main(int argc, char** argv)
{
    const std::size_t points = uzuviv::bench::PointsArgument(argc, argv, "bench_memory");
    if (points == 0)
        return 2;
    return uzuviv::bench::Run(points);
}
