#include "BenchSupport.h"

#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <stdexcept>

#include "Generator.h"
#include "files/GpxFile.h"

namespace uzuviv::bench {

namespace {

class Folder {
public:
    Folder()
    {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base != nullptr && *base != '\0' ? base : "/tmp")
            + "/uzuviv-bench-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("cannot create a scratch folder in " + pattern);
        path_ = pattern;
    }
    ~Folder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

std::string FirstDifference(const TProjectType& expected, const TProjectType& actual)
{
    if (expected.Records.size() != actual.Records.size())
        return "read back " + std::to_string(actual.Records.size()) + " points instead of "
            + std::to_string(expected.Records.size());
    for (std::size_t i = 0; i < expected.Records.size(); ++i)
        if (RecordsDiffer(expected.Records[i], actual.Records[i]))
            return "point " + std::to_string(i + 1) + " reads back differently";
    return {};
}

} // namespace

const std::string& ScratchFolder()
{
    static const Folder folder;
    return folder.Path();
}

const TProjectType& CachedProject(std::size_t count)
{
    static std::map<std::size_t, std::unique_ptr<TProjectType>> projects;
    auto& slot = projects[count];
    if (!slot)
        slot = std::make_unique<TProjectType>(GenerateProject(count));
    return *slot;
}

const BenchFile& ProjectFile(std::size_t count)
{
    static std::map<std::size_t, BenchFile> files;
    auto found = files.find(count);
    if (found != files.end())
        return found->second;
    BenchFile file;
    file.Path = ScratchFolder() + "/project-" + std::to_string(count) + ".gps";
    const TProjectType& project = CachedProject(count);
    NullProgress progress;
    SaveProjectFile(file.Path, project, progress);
    file.Bytes = std::filesystem::file_size(file.Path);
    TProjectType readBack;
    LoadProjectFile(file.Path, readBack, progress);
    file.Problem = FirstDifference(project, readBack);
    if (file.Problem.empty() && ProjectsDiffer(project, readBack))
        file.Problem = "the properties read back differently";
    return files.emplace(count, std::move(file)).first->second;
}

const BenchFile& GPSFile(std::size_t count)
{
    static std::map<std::size_t, BenchFile> files;
    auto found = files.find(count);
    if (found != files.end())
        return found->second;
    BenchFile file;
    file.Path = ScratchFolder() + "/gps-" + std::to_string(count) + ".csv";
    const TProjectType& project = CachedProject(count);
    const std::string text = GPSFileText(project);
    WriteWholeFile(file.Path, text);
    file.Bytes = text.size();

    // The program's writer must give the same bytes, and its reader the same points.
    NullProgress progress;
    const std::string written = ScratchFolder() + "/gps-check.csv";
    WriteGPSFile(written, project, progress);
    if (ReadWholeFile(written) != text)
        file.Problem = "WriteGPSFile differs from the generated text";
    std::filesystem::remove(written);
    TProjectType readBack;
    ReadGPSFile(file.Path, readBack, progress);
    if (file.Problem.empty())
        file.Problem = FirstDifference(project, readBack);
    return files.emplace(count, std::move(file)).first->second;
}

const BenchFile& GpxFile(std::size_t count)
{
    static std::map<std::size_t, BenchFile> files;
    auto found = files.find(count);
    if (found != files.end())
        return found->second;
    BenchFile file;
    file.Path = ScratchFolder() + "/points-" + std::to_string(count) + ".gpx";
    const TProjectType& project = CachedProject(count);
    NullProgress progress;
    WriteGpxFile(file.Path, project, progress);
    file.Bytes = std::filesystem::file_size(file.Path);
    TProjectType readBack;
    ReadGpxFile(file.Path, readBack, progress);
    file.Problem = FirstDifference(project, readBack);
    if (file.Problem.empty() && ProjectsDiffer(project, readBack))
        file.Problem = "the properties read back differently";
    return files.emplace(count, std::move(file)).first->second;
}

std::string ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    std::ostringstream content;
    content << in.rdbuf();
    return std::move(content).str();
}

void WriteWholeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush())
        throw std::runtime_error("cannot write " + path);
}

bool RunInAChild(const std::function<int()>& work)
{
    std::fflush(stdout);
    const pid_t child = ::fork();
    if (child < 0)
        return false;
    if (child == 0) {
        const int status = work();
        std::fflush(stdout);
        std::_Exit(status);
    }
    int status = 0;
    return ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool MakeProjectFileInAChild(const std::string& path, std::size_t points)
{
    return RunInAChild([&] {
        NullProgress progress;
        SaveProjectFile(path, GenerateProject(points), progress);
        return 0;
    });
}

bool MakeGPSFileInAChild(const std::string& path, std::size_t points)
{
    return RunInAChild([&] {
        WriteWholeFile(path, GenerateGPSFileText(points));
        return 0;
    });
}

std::size_t PointsArgument(int argc, char** argv, const char* program)
{
    if (argc <= 1)
        return 1'000'000;
    char* end = nullptr;
    const unsigned long long value = std::strtoull(argv[1], &end, 10);
    if (end == argv[1] || *end != '\0' || value == 0) {
        std::fprintf(stderr, "usage: %s [points]\n", program);
        return 0;
    }
    return static_cast<std::size_t>(value);
}

bool ResetPeakMemory()
{
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.flush();
    return static_cast<bool>(clear);
}

std::size_t HeapBytesInUse()
{
    const struct mallinfo2 info = ::mallinfo2();
    return info.uordblks + info.hblkhd;
}

MemoryUse ReadMemoryUse()
{
    MemoryUse use;
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            use.PeakKiB = std::strtol(line.c_str() + 6, nullptr, 10);
        else if (line.rfind("VmRSS:", 0) == 0)
            use.CurrentKiB = std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return use;
}

} // namespace uzuviv::bench
