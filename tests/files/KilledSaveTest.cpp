// A save killed at any moment leaves the target as the complete old file or the complete new
// file, never a mixture or a truncated file.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <random>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "TempFolder.h"
#include "files/UnitOfCodes.h"

#if defined(__SANITIZE_ADDRESS__)
#define UZUVIV_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define UZUVIV_UNDER_ASAN 1
#endif
#endif

namespace uzuviv {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

// The test takes about twelve times one save. AddressSanitizer without optimisation makes a save
// some twenty times slower, so fewer points keep the test well within a minute there.
#if defined(UZUVIV_UNDER_ASAN)
constexpr int SavedPoints = 100000;
#elif !defined(__OPTIMIZE__)
constexpr int SavedPoints = 200000;
#else
constexpr int SavedPoints = 1000000;
#endif
constexpr int Kills = 20;

struct QuietProgress : ProgressSink {
    void Show(const std::string&) override {}
    void SetProgress(int) override {}
    void Close() override {}
};

TProjectType BigProject()
{
    TProjectType project;
    project.ProjectName = "New";
    project.ProjectComments = {"a million points", "..."};
    project.Records.resize(SavedPoints);
    for (int i = 0; i < SavedPoints; ++i) {
        TGPSRecord& record = project.Records[static_cast<std::size_t>(i)];
        record.Latitude = -89.5L + (i % 179000) * 0.001L;
        record.Longitude = 179.25L - (i % 358000) * 0.001L;
        record.Tolerance = static_cast<std::uint16_t>(i % 1001);
        record.FileRef = static_cast<std::uint16_t>(1 + i % 999);
        record.Comments = "Point " + std::to_string(i);
    }
    return project;
}

// Starts a child process that saves `project` to `path` and exits 0 when the save succeeded.
pid_t StartSave(const std::string& path, const TProjectType& project)
{
    const pid_t child = ::fork();
    if (child == 0) {
        int status = 0;
        try {
            QuietProgress progress;
            SaveProjectFile(path, project, progress);
        } catch (...) {
            status = 2;
        }
        // No exit handlers: they belong to the test process.
        ::_exit(status);
    }
    return child;
}

unsigned SeedFromEnvironment()
{
    if (const char* text = std::getenv("UZUVIV_KILL_SEED"))
        return static_cast<unsigned>(std::strtoul(text, nullptr, 10));
    return std::random_device{}();
}

TEST(KilledSave, TargetIsAlwaysTheWholeOldOrTheWholeNewFile)
{
    TempFolder folder;
    const std::string target = folder.File("big.gps");
    TProjectType old;
    old.ProjectName = "Old";
    old.Records.resize(3);
    QuietProgress progress;
    SaveProjectFile(target, old, progress);
    const std::string oldBytes = ReadBytes(target);
    const TProjectType project = BigProject();

    // One complete save gives the new file and the time a save takes.
    const auto start = std::chrono::steady_clock::now();
    const pid_t measured = StartSave(target, project);
    ASSERT_GT(measured, 0);
    int status = 0;
    ASSERT_EQ(::waitpid(measured, &status, 0), measured);
    const auto duration = std::chrono::steady_clock::now() - start;
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the complete save failed";
    const std::string newBytes = ReadBytes(target);
    ASSERT_NE(newBytes, oldBytes);

    const unsigned seed = SeedFromEnvironment();
    std::cout << "[          ] " << SavedPoints << " points, one save takes "
              << std::chrono::duration_cast<std::chrono::milliseconds>(duration).count()
              << " ms; seed " << seed << " (set UZUVIV_KILL_SEED to repeat)\n";
    RecordProperty("seed", std::to_string(seed));
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> within(0.0, 1.0);

    int stillOld = 0, complete = 0, midWrite = 0;
    for (int kill = 0; kill < Kills; ++kill) {
        WriteBytes(target, oldBytes);
        // One kill in each slice of the save's duration, and a few past its end.
        const auto delay = std::chrono::duration_cast<std::chrono::microseconds>(
            duration * (1.25 * (kill + within(random)) / Kills));
        const pid_t child = StartSave(target, project);
        ASSERT_GT(child, 0);
        std::this_thread::sleep_for(delay);
        ::kill(child, SIGKILL);
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        if (WIFEXITED(status)) {
            EXPECT_EQ(WEXITSTATUS(status), 0) << "the save failed on its own";
        }

        const std::string bytes = ReadBytes(target);
        const bool isOld = bytes == oldBytes;
        const bool isNew = bytes == newBytes;
        EXPECT_TRUE(isOld || isNew) << "killed after " << delay.count() << " us (seed " << seed
                                    << "): the target holds " << bytes.size() << " bytes, neither the old "
                                    << oldBytes.size() << " nor the new " << newBytes.size();
        stillOld += isOld;
        complete += isNew;

        // A killed writer cannot remove its temporary file; count and clear them.
        for (const auto& entry : fs::directory_iterator(folder.Path())) {
            if (entry.path() == target)
                continue;
            midWrite += entry.file_size() > 0;
            fs::remove(entry.path());
        }
    }
    std::cout << "[          ] old file " << stillOld << " times, new file " << complete
              << " times, killed while writing " << midWrite << " times\n";
    EXPECT_GE(midWrite, 1) << "no kill landed while the new file was being written, so this run "
                              "proved nothing (seed " << seed << ")";
}

} // namespace
} // namespace uzuviv
