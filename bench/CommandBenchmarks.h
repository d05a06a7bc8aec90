#pragma once

// The editing commands, written once over a driver that either calls the editing layer with a
// drawing-free view (bench_editing) or goes through the real window (bench_window).
//
// A driver offers: Document& Doc(); void Load(const TProjectType&); void Select(const
// RowSelection&); PanelTexts ReadPanel(); void WritePanel(const PanelTexts&); SetData(),
// Delete(), Paste(), Undo(), Redo(), SwitchMode(int), SwitchLanguage(int); Settle() (lets the
// window finish what the command started: layout, painting; timed with the command);
// Refresh() (the window re-reads the command states and rebuilds the list after the benchmark
// put the project back by hand; not timed).
//
// Commands that change the project are undone by hand between iterations with the timer
// paused, and the history is restarted so that it never grows: each timed command therefore
// includes the one undo snapshot it records, as it does for the user.

#include <benchmark/benchmark.h>

#include <string>

#include "BenchSupport.h"
#include "Generator.h"
#include "editing/Document.h"
#include "editing/PanelFields.h"
#include "editing/RowSelection.h"
#include "text/text.h"

namespace uzuviv::bench {

template <class Driver>
Driver& TheDriver();

inline std::size_t Points(const benchmark::State& state)
{
    return static_cast<std::size_t>(state.range(0));
}

template <class Driver>
Driver& Prepared(benchmark::State& state)
{
    Driver& driver = TheDriver<Driver>();
    driver.Load(CachedProject(Points(state)));
    state.counters["points"] = static_cast<double>(Points(state));
    return driver;
}

inline TProjectType& Project(Document& document) { return *document.CurrentProject(); }

inline void RestartHistory(Document& document)
{
    document.History.Reset();
    document.History.Start(document.CurrentProject());
}

// Puts a different comment into the panel, as if typed.
template <class Driver>
std::string TypeComment(Driver& driver, std::size_t iteration)
{
    PanelTexts texts = driver.ReadPanel();
    const std::string comment = iteration % 2 == 0 ? "Relevé à refaire" : "Relevé vérifié";
    texts[PanelBox::Comments] = comment;
    driver.WritePanel(texts);
    return comment;
}

#define UZUVIV_CHECK(state, condition, message)                                                   \
    if (!(condition)) {                                                                            \
        state.SkipWithError(message);                                                              \
        break;                                                                                     \
    }

template <class Driver>
void BM_SelectRow(benchmark::State& state)
{
    Driver& driver = Prepared<Driver>(state);
    const std::size_t n = Points(state);
    const std::size_t rows[2] = {n / 3, 2 * n / 3};
    std::size_t k = 0;
    for (auto _ : state) {
        const std::size_t row = rows[k++ % 2];
        driver.Select(RowSelection::Single(row));
        driver.Settle();
        state.PauseTiming();
        const bool loaded = driver.ReadPanel()[PanelBox::Comments]
            == Project(driver.Doc()).Records[row].Comments;
        state.ResumeTiming();
        UZUVIV_CHECK(state, loaded, "the selected point did not reach the panel");
    }
}

template <class Driver>
void BM_SetData(benchmark::State& state)
{
    Driver& driver = Prepared<Driver>(state);
    const std::size_t row = Points(state) / 2;
    driver.Select(RowSelection::Single(row));
    std::size_t k = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const std::string comment = TypeComment(driver, k++);
        state.ResumeTiming();
        driver.SetData();
        driver.Settle();
        state.PauseTiming();
        const bool stored = Project(driver.Doc()).Records[row].Comments == comment;
        RestartHistory(driver.Doc());
        driver.Refresh(false);
        state.ResumeTiming();
        UZUVIV_CHECK(state, stored, "Set data did not store the point");
    }
}

// Above 150 points the add commands refuse (the editing limit), so the only way a user adds a
// point to these projects is pasting one.
template <class Driver>
void BM_AddPointByPaste(benchmark::State& state, std::size_t pasted)
{
    Driver& driver = Prepared<Driver>(state);
    const std::size_t n = Points(state);
    driver.Doc().PointClipboard.emplace();
    driver.Doc().PointClipboard->Records = GenerateProject(pasted, DefaultSeed + 1).Records;
    driver.Refresh(false);
    for (auto _ : state) {
        driver.Paste();
        driver.Settle();
        state.PauseTiming();
        const bool pastedAll = Project(driver.Doc()).Records.size() == n + pasted;
        Project(driver.Doc()).Records.resize(n);
        RestartHistory(driver.Doc());
        driver.Refresh(true);
        state.ResumeTiming();
        UZUVIV_CHECK(state, pastedAll, "Paste did not add the points");
    }
}

template <class Driver>
void BM_AddPoint(benchmark::State& state) { BM_AddPointByPaste<Driver>(state, 1); }
template <class Driver>
void BM_Paste1000(benchmark::State& state) { BM_AddPointByPaste<Driver>(state, 1000); }

template <class Driver>
void BM_DeleteOnePoint(benchmark::State& state)
{
    Driver& driver = Prepared<Driver>(state);
    const std::size_t n = Points(state);
    const std::size_t row = n / 2;
    const TGPSRecord removed = Project(driver.Doc()).Records[row];
    for (auto _ : state) {
        state.PauseTiming();
        driver.Select(RowSelection::Single(row));
        driver.Settle();
        state.ResumeTiming();
        driver.Delete();
        driver.Settle();
        state.PauseTiming();
        auto& records = Project(driver.Doc()).Records;
        const bool deleted = records.size() == n - 1;
        if (deleted)
            records.insert(records.begin() + static_cast<std::ptrdiff_t>(row), removed);
        RestartHistory(driver.Doc());
        driver.Refresh(true);
        state.ResumeTiming();
        UZUVIV_CHECK(state, deleted, "Delete did not remove the point");
    }
}

// The middle half, selected as one range (a shift-click).
template <class Driver>
void BM_DeleteHalf(benchmark::State& state)
{
    Driver& driver = Prepared<Driver>(state);
    const std::size_t n = Points(state);
    RowSelection half;
    half.Add(n / 4, n / 4 + n / 2 - 1);
    for (auto _ : state) {
        state.PauseTiming();
        driver.Select(half);
        driver.Settle();
        state.ResumeTiming();
        driver.Delete();
        driver.Settle();
        state.PauseTiming();
        const bool deleted = Project(driver.Doc()).Records.size() == n - n / 2;
        Project(driver.Doc()).Records = CachedProject(n).Records;
        RestartHistory(driver.Doc());
        driver.Refresh(true);
        state.ResumeTiming();
        UZUVIV_CHECK(state, deleted, "Delete did not remove the half");
    }
}

// Undo and redo of a one-point Set data: the history holds the base and one snapshot.
template <class Driver>
void BM_UndoRedo(benchmark::State& state, bool undo)
{
    Driver& driver = Prepared<Driver>(state);
    const std::size_t row = Points(state) / 2;
    driver.Select(RowSelection::Single(row));
    TypeComment(driver, 0);
    driver.SetData();
    driver.Settle();
    const TGPSRecord before = CachedProject(Points(state)).Records[row];
    const TGPSRecord after = Project(driver.Doc()).Records[row];
    if (!undo) {
        driver.Undo();
        driver.Settle();
    }
    for (auto _ : state) {
        if (undo)
            driver.Undo();
        else
            driver.Redo();
        driver.Settle();
        state.PauseTiming();
        auto& record = Project(driver.Doc()).Records[row];
        const bool restored = record.Comments == (undo ? before : after).Comments;
        // Back to where the command started.
        if (undo)
            driver.Doc().Redo();
        else
            driver.Doc().Undo();
        driver.Refresh(false);
        state.ResumeTiming();
        UZUVIV_CHECK(state, restored, undo ? "Undo did not restore the point"
                                           : "Redo did not restore the point");
    }
}

template <class Driver>
void BM_Undo(benchmark::State& state) { BM_UndoRedo<Driver>(state, true); }
template <class Driver>
void BM_Redo(benchmark::State& state) { BM_UndoRedo<Driver>(state, false); }

// With a row selected, so the panel is reloaded in the new mode too.
template <class Driver>
void BM_SwitchDisplayMode(benchmark::State& state)
{
    Driver& driver = Prepared<Driver>(state);
    driver.Select(RowSelection::Single(Points(state) / 2));
    int mode = 1;
    for (auto _ : state) {
        mode = mode % 4 + 1;
        driver.SwitchMode(mode);
        driver.Settle();
    }
    driver.SwitchMode(1);
    driver.Settle();
}

template <class Driver>
void BM_SwitchLanguage(benchmark::State& state)
{
    Driver& driver = Prepared<Driver>(state);
    driver.Select(RowSelection::Single(Points(state) / 2));
    const int original = LanguageIndex;
    int language = original;
    for (auto _ : state) {
        language = language == 1 ? 2 : 1;   // French <-> English
        driver.SwitchLanguage(language);
        driver.Settle();
        UZUVIV_CHECK(state, LanguageIndex == language, "the language did not change");
    }
    driver.SwitchLanguage(original);
    driver.Settle();
}

#define UZUVIV_COMMAND_SIZES                                                                       \
    ->Arg(1000)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)

#define UZUVIV_REGISTER_COMMANDS(Driver)                                                           \
    BENCHMARK_TEMPLATE(BM_SelectRow, Driver) UZUVIV_COMMAND_SIZES;                                 \
    BENCHMARK_TEMPLATE(BM_SetData, Driver) UZUVIV_COMMAND_SIZES;                                   \
    BENCHMARK_TEMPLATE(BM_AddPoint, Driver) UZUVIV_COMMAND_SIZES;                                  \
    BENCHMARK_TEMPLATE(BM_DeleteOnePoint, Driver) UZUVIV_COMMAND_SIZES;                            \
    BENCHMARK_TEMPLATE(BM_DeleteHalf, Driver) UZUVIV_COMMAND_SIZES;                                \
    BENCHMARK_TEMPLATE(BM_Paste1000, Driver) UZUVIV_COMMAND_SIZES;                                 \
    BENCHMARK_TEMPLATE(BM_Undo, Driver) UZUVIV_COMMAND_SIZES;                                      \
    BENCHMARK_TEMPLATE(BM_Redo, Driver) UZUVIV_COMMAND_SIZES;                                      \
    BENCHMARK_TEMPLATE(BM_SwitchDisplayMode, Driver) UZUVIV_COMMAND_SIZES;                         \
    BENCHMARK_TEMPLATE(BM_SwitchLanguage, Driver) UZUVIV_COMMAND_SIZES

} // namespace uzuviv::bench
