#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "files/UnitOfCodes.h"
#include "model/ProjectClasses.h"

namespace uzuviv::bench {

// The progress window costs nothing here, so the figures are the readers' and writers' own.
struct NullProgress : ProgressSink {
    int Steps = 0;
    void Show(const std::string&) override {}
    void SetProgress(int) override { ++Steps; }
    void Close() override {}
};

// A private folder under $TMPDIR (or /tmp), removed when the program ends.
const std::string& ScratchFolder();

// The generated project of `count` points, made once per count.
const TProjectType& CachedProject(std::size_t count);

// The file of the generated project of `count` points, written once per count: the project
// file and the GPX file by the program's own writers, the GPS file by the generator.
struct BenchFile {
    std::string Path;
    std::size_t Bytes = 0;
    // Empty when the file read back gives exactly the generated project, else what differs.
    std::string Problem;
};
const BenchFile& ProjectFile(std::size_t count);
const BenchFile& GPSFile(std::size_t count);
// The GPX file of the same points, by the program's own writer.
const BenchFile& GpxFile(std::size_t count);

// Runs `work` in a child process and tells whether it returned 0: its memory is its own.
bool RunInAChild(const std::function<int()>& work);

// Writes the project file (or the GPS file) of the generated project of `points` points from a
// child process, so that generating it does not count in this process's memory.
bool MakeProjectFileInAChild(const std::string& path, std::size_t points);
bool MakeGPSFileInAChild(const std::string& path, std::size_t points);

// The point count given as the first argument, 1,000,000 without one; 0 (after saying so)
// when it is not a positive whole number.
std::size_t PointsArgument(int argc, char** argv, const char* program);

std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& bytes);

// Peak and current resident memory of this process, in KiB (/proc/self/status).
struct MemoryUse {
    long PeakKiB = 0;      // VmHWM
    long CurrentKiB = 0;   // VmRSS
};
MemoryUse ReadMemoryUse();

// Starts a new peak: VmHWM becomes the current resident size. False where the kernel does not
// offer it.
bool ResetPeakMemory();

// Bytes that malloc has handed out and not taken back, mapped blocks included.
std::size_t HeapBytesInUse();

} // namespace uzuviv::bench
