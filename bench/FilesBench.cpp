// Reading and writing the project file and the GPS file, against the floor of one pass that
// only reads the file and splits it into lines.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <expat.h>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <string_view>
#include <unistd.h>

#include "BenchSupport.h"
#include "files/GpxFile.h"

namespace uzuviv::bench {
namespace {

std::size_t Points(const benchmark::State& state) { return static_cast<std::size_t>(state.range(0)); }

void SetThroughput(benchmark::State& state, std::size_t points, std::size_t bytes)
{
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * points));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
    state.counters["file_MB"] = static_cast<double>(bytes) / 1e6;
}

bool Usable(benchmark::State& state, const BenchFile& file)
{
    if (file.Problem.empty())
        return true;
    state.SkipWithError(file.Problem.c_str());
    return false;
}

// Open: a fresh project each time, as the program does after ResetProject; dropping the
// previous one is not timed.
void BM_OpenProjectFile(benchmark::State& state)
{
    const BenchFile& file = ProjectFile(Points(state));
    if (!Usable(state, file))
        return;
    NullProgress progress;
    std::unique_ptr<TProjectType> project;
    for (auto _ : state) {
        state.PauseTiming();
        project = std::make_unique<TProjectType>();
        state.ResumeTiming();
        LoadProjectFile(file.Path, *project, progress);
    }
    SetThroughput(state, Points(state), file.Bytes);
}

// Save includes the program's safety: temporary file, fsync, rename.
void BM_SaveProjectFile(benchmark::State& state)
{
    const BenchFile& file = ProjectFile(Points(state));
    const TProjectType& project = CachedProject(Points(state));
    const std::string path = ScratchFolder() + "/saved.gps";
    NullProgress progress;
    for (auto _ : state)
        SaveProjectFile(path, project, progress);
    SetThroughput(state, Points(state), file.Bytes);
}

void BM_ImportGPSFile(benchmark::State& state)
{
    const BenchFile& file = GPSFile(Points(state));
    if (!Usable(state, file))
        return;
    NullProgress progress;
    std::unique_ptr<TProjectType> project;
    for (auto _ : state) {
        state.PauseTiming();
        project = std::make_unique<TProjectType>();
        state.ResumeTiming();
        ReadGPSFile(file.Path, *project, progress);
    }
    SetThroughput(state, Points(state), file.Bytes);
}

void BM_BuildGPSFile(benchmark::State& state)
{
    const BenchFile& file = GPSFile(Points(state));
    const TProjectType& project = CachedProject(Points(state));
    const std::string path = ScratchFolder() + "/built.csv";
    NullProgress progress;
    for (auto _ : state)
        WriteGPSFile(path, project, progress);
    SetThroughput(state, Points(state), file.Bytes);
}

// GPX of the same points, against the GPS file's import and build.
void BM_ImportGpxFile(benchmark::State& state)
{
    const BenchFile& file = GpxFile(Points(state));
    if (!Usable(state, file))
        return;
    NullProgress progress;
    std::unique_ptr<TProjectType> project;
    for (auto _ : state) {
        state.PauseTiming();
        project = std::make_unique<TProjectType>();
        state.ResumeTiming();
        ReadGpxFile(file.Path, *project, progress);
    }
    SetThroughput(state, Points(state), file.Bytes);
}

// The floor for GPX: expat alone, namespaces on, no handlers, reading as the reader does.
void BM_ExpatFloorGpxFile(benchmark::State& state)
{
    const BenchFile& file = GpxFile(Points(state));
    for (auto _ : state) {
        std::FILE* stream = std::fopen(file.Path.c_str(), "rb");
        if (stream == nullptr) {
            state.SkipWithError("cannot open the file");
            return;
        }
        XML_Parser parser = XML_ParserCreateNS(nullptr, '\x01');
        constexpr int Chunk = 256 * 1024;
        for (;;) {
            void* buffer = XML_GetBuffer(parser, Chunk);
            const auto count = static_cast<int>(std::fread(buffer, 1, Chunk, stream));
            if (XML_ParseBuffer(parser, count, count == 0) != XML_STATUS_OK)
                state.SkipWithError("expat refused the file");
            if (count == 0)
                break;
        }
        XML_ParserFree(parser);
        std::fclose(stream);
    }
    SetThroughput(state, Points(state), file.Bytes);
}

void BM_ExportGpxFile(benchmark::State& state)
{
    const BenchFile& file = GpxFile(Points(state));
    const TProjectType& project = CachedProject(Points(state));
    const std::string path = ScratchFolder() + "/exported.gpx";
    NullProgress progress;
    for (auto _ : state)
        WriteGpxFile(path, project, progress);
    SetThroughput(state, Points(state), file.Bytes);
}

// The floor for reading: the whole file into memory and one pass splitting it at line ends.
void ReadFloor(benchmark::State& state, const BenchFile& file)
{
    for (auto _ : state) {
        std::FILE* stream = std::fopen(file.Path.c_str(), "rb");
        if (stream == nullptr) {
            state.SkipWithError("cannot open the file");
            return;
        }
        std::string content(file.Bytes, '\0');
        const std::size_t got = std::fread(content.data(), 1, content.size(), stream);
        std::fclose(stream);
        std::size_t lines = 0, longest = 0;
        std::string_view rest(content.data(), got);
        while (!rest.empty()) {
            const void* end = std::memchr(rest.data(), '\n', rest.size());
            const std::size_t length = end == nullptr ? rest.size()
                : static_cast<std::size_t>(static_cast<const char*>(end) - rest.data());
            const std::string_view line = rest.substr(0, length);
            longest = std::max(longest, line.size());
            ++lines;
            rest.remove_prefix(std::min(rest.size(), length + 1));
        }
        benchmark::DoNotOptimize(lines);
        benchmark::DoNotOptimize(longest);
    }
    SetThroughput(state, Points(state), file.Bytes);
}

void BM_ReadFloorProjectFile(benchmark::State& state) { ReadFloor(state, ProjectFile(Points(state))); }
void BM_ReadFloorGPSFile(benchmark::State& state) { ReadFloor(state, GPSFile(Points(state))); }
void BM_ReadFloorGpxFile(benchmark::State& state) { ReadFloor(state, GpxFile(Points(state))); }

// The floor for writing: the same bytes, with the same temporary file, fsync and rename as a save.
void BM_WriteFloorGPSFile(benchmark::State& state)
{
    const BenchFile& file = GPSFile(Points(state));
    const std::string content = ReadWholeFile(file.Path);
    const std::string temporary = ScratchFolder() + "/floor.tmp";
    const std::string target = ScratchFolder() + "/floor.csv";
    for (auto _ : state) {
        const int descriptor = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        bool written = descriptor >= 0
            && ::write(descriptor, content.data(), content.size()) == static_cast<ssize_t>(content.size())
            && ::fsync(descriptor) == 0;
        if (descriptor >= 0)
            written = ::close(descriptor) == 0 && written;
        if (!written || std::rename(temporary.c_str(), target.c_str()) != 0) {
            state.SkipWithError("cannot write the floor file");
            return;
        }
    }
    SetThroughput(state, Points(state), file.Bytes);
}

// Rates over wall time: the fsync and the page cache are part of what the user waits for.
#define UZUVIV_SIZES \
    ->Arg(1000)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime()

BENCHMARK(BM_ReadFloorProjectFile) UZUVIV_SIZES;
BENCHMARK(BM_OpenProjectFile) UZUVIV_SIZES;
BENCHMARK(BM_SaveProjectFile) UZUVIV_SIZES;
BENCHMARK(BM_ReadFloorGPSFile) UZUVIV_SIZES;
BENCHMARK(BM_ImportGPSFile) UZUVIV_SIZES;
BENCHMARK(BM_WriteFloorGPSFile) UZUVIV_SIZES;
BENCHMARK(BM_BuildGPSFile) UZUVIV_SIZES;
BENCHMARK(BM_ReadFloorGpxFile) UZUVIV_SIZES;
BENCHMARK(BM_ExpatFloorGpxFile) UZUVIV_SIZES;
BENCHMARK(BM_ImportGpxFile) UZUVIV_SIZES;
BENCHMARK(BM_ExportGpxFile) UZUVIV_SIZES;

} // namespace
} // namespace uzuviv::bench

BENCHMARK_MAIN();
