// Reading and writing the project file, the GPS file and GPX of the same points, against
// copies of the same files: one read of the whole file into memory, one write of it with the
// program's safety (temporary file, fsync, rename), and the two in one; GPX also against expat
// alone. GPSBabel converts the same GPS file in the same run. The figures of one size run one after the other, and a summary of the ratios
// ends the output.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <expat.h>
#include <cstring>
#include <fcntl.h>
#include <malloc.h>
#include <map>
#include <memory>
#include <spawn.h>
#include <string>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

#include "BenchSupport.h"
#include "files/FileFields.h"
#include "files/GpxFile.h"

extern char** environ;

namespace uzuviv::bench {
namespace {

constexpr std::size_t Sizes[] = {1000, 10000, 100000, 1000000};

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

// An empty object for the next repetition. Dropping the previous one is not timed, and neither
// is the merging of its freed blocks, which the allocator would otherwise do at the first large
// request of the timed part: that belongs to closing the previous project, not to reading.
template <typename T>
void MakeFresh(benchmark::State& state, std::unique_ptr<T>& object)
{
    state.PauseTiming();
    object = std::make_unique<T>();
    ::malloc_trim(0);
    state.ResumeTiming();
}

// One read of the whole file into fresh memory, as a copy begins.
std::unique_ptr<char[]> ReadInOneGo(const BenchFile& file)
{
    auto buffer = std::unique_ptr<char[]>(new char[file.Bytes]);
    const int descriptor = ::open(file.Path.c_str(), O_RDONLY | O_CLOEXEC);
    const bool read = descriptor >= 0
        && ::read(descriptor, buffer.get(), file.Bytes) == static_cast<ssize_t>(file.Bytes);
    if (descriptor >= 0)
        ::close(descriptor);
    return read ? std::move(buffer) : nullptr;
}

// One write of the bytes with the safety of a save: temporary file, fsync, rename, fsync of
// the folder.
bool WriteInOneGo(const char* bytes, std::size_t size, const std::string& target)
{
    const std::string temporary = target + ".tmp";
    const int descriptor = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    bool written = descriptor >= 0 && ::write(descriptor, bytes, size) == static_cast<ssize_t>(size)
        && ::fsync(descriptor) == 0;
    if (descriptor >= 0)
        written = ::close(descriptor) == 0 && written;
    if (!written || std::rename(temporary.c_str(), target.c_str()) != 0)
        return false;
    // The save makes the rename durable too.
    const int folder = ::open(ScratchFolder().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return true;
}

void ReadCopy(benchmark::State& state, const BenchFile& file, std::size_t points)
{
    for (auto _ : state) {
        auto buffer = ReadInOneGo(file);
        if (!buffer) {
            state.SkipWithError("cannot read the file");
            return;
        }
        benchmark::DoNotOptimize(buffer.get());
    }
    SetThroughput(state, points, file.Bytes);
}

void WriteCopy(benchmark::State& state, const BenchFile& file, std::size_t points)
{
    const std::string content = ReadWholeFile(file.Path);
    const std::string target = ScratchFolder() + "/write-copy";
    for (auto _ : state) {
        if (!WriteInOneGo(content.data(), content.size(), target)) {
            state.SkipWithError("cannot write the copy");
            return;
        }
    }
    SetThroughput(state, points, file.Bytes);
}

// One read and one write: the floor of reading a file and writing it back.
void Copy(benchmark::State& state, const BenchFile& file, std::size_t points)
{
    const std::string target = ScratchFolder() + "/copy";
    for (auto _ : state) {
        auto buffer = ReadInOneGo(file);
        if (!buffer || !WriteInOneGo(buffer.get(), file.Bytes, target)) {
            state.SkipWithError("cannot copy the file");
            return;
        }
    }
    SetThroughput(state, points, file.Bytes);
}

// As cat copies: 128 KiB blocks through one buffer, no fsync.
void CatCopy(benchmark::State& state, const BenchFile& file, std::size_t points)
{
    const std::string target = ScratchFolder() + "/cat-copy";
    std::vector<char> block(128 * 1024);
    for (auto _ : state) {
        const int in = ::open(file.Path.c_str(), O_RDONLY | O_CLOEXEC);
        const int out = ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        bool copied = in >= 0 && out >= 0;
        for (ssize_t got; copied && (got = ::read(in, block.data(), block.size())) != 0;)
            copied = got > 0 && ::write(out, block.data(), static_cast<std::size_t>(got)) == got;
        if (in >= 0)
            ::close(in);
        if (out >= 0)
            ::close(out);
        if (!copied) {
            state.SkipWithError("cannot copy the file");
            return;
        }
    }
    SetThroughput(state, points, file.Bytes);
}

// What any reader of these points must do at the least: make the records and their comments in
// fresh memory, from values already at hand.
void MakeRecords(benchmark::State& state, const BenchFile& file, std::size_t points)
{
    const TProjectType& source = CachedProject(points);
    std::unique_ptr<std::vector<TGPSRecord>> records;
    for (auto _ : state) {
        MakeFresh(state, records);
        ReserveRecords(*records, points);
        for (const TGPSRecord& from : source.Records) {
            TGPSRecord& record = records->emplace_back();
            record.Latitude = from.Latitude;
            record.Longitude = from.Longitude;
            record.Tolerance = from.Tolerance;
            record.Mode = from.Mode;
            record.FileRef = from.FileRef;
            record.Comments = std::string(std::string_view(from.Comments));
        }
        benchmark::DoNotOptimize(records->data());
    }
    SetThroughput(state, points, file.Bytes);
}

// Open: a fresh project each time, as the program does after ResetProject; dropping the
// previous one is not timed.
void Open(benchmark::State& state, const BenchFile& file, std::size_t points)
{
    NullProgress progress;
    std::unique_ptr<TProjectType> project;
    for (auto _ : state) {
        MakeFresh(state, project);
        LoadProjectFile(file.Path, *project, progress);
    }
    SetThroughput(state, points, file.Bytes);
}

// Save includes the program's safety: temporary file, fsync, rename.
void Save(benchmark::State& state, const BenchFile& file, std::size_t points)
{
    const TProjectType& project = CachedProject(points);
    const std::string path = ScratchFolder() + "/saved.gps";
    NullProgress progress;
    for (auto _ : state)
        SaveProjectFile(path, project, progress);
    SetThroughput(state, points, file.Bytes);
}

void Import(benchmark::State& state, const BenchFile& file, std::size_t points)
{
    NullProgress progress;
    std::unique_ptr<TProjectType> project;
    for (auto _ : state) {
        MakeFresh(state, project);
        ReadGPSFile(file.Path, *project, progress);
    }
    SetThroughput(state, points, file.Bytes);
}

void Build(benchmark::State& state, const BenchFile& file, std::size_t points)
{
    const TProjectType& project = CachedProject(points);
    const std::string path = ScratchFolder() + "/built.csv";
    NullProgress progress;
    for (auto _ : state)
        WriteGPSFile(path, project, progress);
    SetThroughput(state, points, file.Bytes);
}

// GPX of the same points, against the GPS file's import and build.
void ImportGpx(benchmark::State& state, const BenchFile& file, std::size_t points)
{
    NullProgress progress;
    std::unique_ptr<TProjectType> project;
    for (auto _ : state) {
        MakeFresh(state, project);
        ReadGpxFile(file.Path, *project, progress);
    }
    SetThroughput(state, points, file.Bytes);
}

// The floor for GPX: expat alone, namespaces on, no handlers, reading as the reader does.
void ExpatFloor(benchmark::State& state, const BenchFile& file, std::size_t points)
{
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
    SetThroughput(state, points, file.Bytes);
}

void ExportGpx(benchmark::State& state, const BenchFile& file, std::size_t points)
{
    const TProjectType& project = CachedProject(points);
    const std::string path = ScratchFolder() + "/exported.gpx";
    NullProgress progress;
    for (auto _ : state)
        WriteGpxFile(path, project, progress);
    SetThroughput(state, points, file.Bytes);
}

// Import the GPS file and build it back from what was read, in one process.
void ImportAndBuild(benchmark::State& state, const BenchFile& file, std::size_t points)
{
    NullProgress progress;
    const std::string path = ScratchFolder() + "/rebuilt.csv";
    std::unique_ptr<TProjectType> project;
    for (auto _ : state) {
        MakeFresh(state, project);
        ReadGPSFile(file.Path, *project, progress);
        WriteGPSFile(path, *project, progress);
    }
    SetThroughput(state, points, file.Bytes);
}

// GPSBabel reads the same file (it takes the latitude, the longitude and the comment from its
// header) and writes it back as CSV.
void GPSBabel(benchmark::State& state, const BenchFile& file, std::size_t points)
{
    const std::string output = ScratchFolder() + "/gpsbabel.csv";
    std::vector<std::string> words = {"gpsbabel", "-i", "unicsv", "-f", file.Path, "-o", "unicsv", "-F", output};
    std::vector<char*> arguments;
    for (std::string& word : words)
        arguments.push_back(word.data());
    arguments.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    for (auto _ : state) {
        pid_t child = 0;
        int status = 0;
        if (posix_spawnp(&child, "gpsbabel", &actions, nullptr, arguments.data(), environ) != 0
            || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("gpsbabel did not run (is it installed?)");
            break;
        }
    }
    posix_spawn_file_actions_destroy(&actions);
    SetThroughput(state, points, file.Bytes);
}

using Body = void (*)(benchmark::State&, const BenchFile&, std::size_t);

void Register(const char* name, Body body, const BenchFile& (*fileOf)(std::size_t), std::size_t points)
{
    benchmark::RegisterBenchmark(name, [body, fileOf, points](benchmark::State& state) {
        const BenchFile& file = fileOf(points);
        if (Usable(state, file))
            body(state, file, points);
    })
        ->Arg(static_cast<std::int64_t>(points))
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()   // the fsync and the page cache are part of what the user waits for
        ->ComputeStatistics("min", [](const std::vector<double>& times) {
            return *std::min_element(times.begin(), times.end());
        });
}

// Prints the ratios that matter at the end: each operation against its copy of the same run.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        // With repetitions, the fastest of each: the run least disturbed by the rest of the
        // machine.
        for (const Run& run : runs) {
            const bool fastest = run.run_type == Run::RT_Aggregate && run.aggregate_name == "min";
            if (run.error_occurred || (run.run_type != Run::RT_Iteration && !fastest))
                continue;
            const std::string name = run.benchmark_name();
            const std::size_t slash = name.find('/');
            const std::size_t points = std::stoul(name.substr(slash + 1));
            double& time = times_[points].try_emplace(name.substr(0, slash), run.GetAdjustedRealTime()).first->second;
            time = std::min(time, run.GetAdjustedRealTime());
        }
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::printf("\nRatios of wall times in this run, fastest repetition of each (target in brackets):\n");
        std::printf("%-10s %-12s %-12s %-12s %-12s %-12s %-12s %-12s\n", "points", "round [4]", "open [3]",
                    "save [3]", "import", "build", "GPSBabel", "records");
        for (auto& [points, times] : times_) {
            const auto ratio = [&times](const char* a, const char* b) {
                const auto x = times.find(a), y = times.find(b);
                char text[32] = "-";
                if (x != times.end() && y != times.end() && y->second > 0)
                    std::snprintf(text, sizeof text, "%.2f", x->second / y->second);
                return std::string(text);
            };
            std::printf("%-10zu %-12s %-12s %-12s %-12s %-12s %-12s %-12s\n", points,
                        ratio("ImportAndBuildGPSFile", "CopyGPSFile").c_str(),
                        ratio("OpenProjectFile", "ReadCopyProjectFile").c_str(),
                        ratio("SaveProjectFile", "WriteCopyProjectFile").c_str(),
                        ratio("ImportGPSFile", "ReadCopyGPSFile").c_str(),
                        ratio("BuildGPSFile", "WriteCopyGPSFile").c_str(),
                        ratio("GPSBabel", "ImportAndBuildGPSFile").c_str(),
                        ratio("MakeRecords", "ReadCopyProjectFile").c_str());
        }
        std::printf("round: import and build back / one-read-one-write copy; open, import: / one-read\n"
                    "copy; save, build: / one-write copy (fsync, rename); GPSBabel: its time / round;\n"
                    "records: making the records alone / one-read copy of the project file.\n");
    }

private:
    std::map<std::size_t, std::map<std::string, double>> times_;
};

} // namespace
} // namespace uzuviv::bench

int main(int argc, char** argv)
{
    using namespace uzuviv::bench;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    for (const std::size_t points : Sizes) {
        Register("ReadCopyProjectFile", ReadCopy, ProjectFile, points);
        Register("MakeRecords", MakeRecords, ProjectFile, points);
        Register("OpenProjectFile", Open, ProjectFile, points);
        Register("WriteCopyProjectFile", WriteCopy, ProjectFile, points);
        Register("SaveProjectFile", Save, ProjectFile, points);
        Register("ReadCopyGPSFile", ReadCopy, GPSFile, points);
        Register("ImportGPSFile", Import, GPSFile, points);
        Register("WriteCopyGPSFile", WriteCopy, GPSFile, points);
        Register("BuildGPSFile", Build, GPSFile, points);
        Register("CopyGPSFile", Copy, GPSFile, points);
        Register("ImportAndBuildGPSFile", ImportAndBuild, GPSFile, points);
        Register("CatCopyGPSFile", CatCopy, GPSFile, points);
        Register("GPSBabel", GPSBabel, GPSFile, points);
        Register("ReadCopyGpxFile", ReadCopy, GpxFile, points);
        Register("ExpatFloorGpxFile", ExpatFloor, GpxFile, points);
        Register("ImportGpxFile", ImportGpx, GpxFile, points);
        Register("ExportGpxFile", ExportGpx, GpxFile, points);
    }
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
