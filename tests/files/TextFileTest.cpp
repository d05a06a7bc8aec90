#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <map>
#include <thread>
#include <string>
#include <vector>

#include "files/TextFile.h"
#include "files/FileTestSupport.h"

namespace uzuviv {
namespace {

using filetest::ReadBytes;
using filetest::TempFolder;
using filetest::WriteBytes;

struct WriteFaultGuard {
    explicit WriteFaultGuard(std::size_t afterBytes, int error)
    {
        SetWriteFaultForTesting(std::make_pair(afterBytes, error));
    }
    ~WriteFaultGuard() { SetWriteFaultForTesting(std::nullopt); }
};

template <typename Action>
int InOutCodeOf(Action action)
{
    try {
        action();
    } catch (const InOutError& error) {
        return error.Code();
    }
    return 0;
}

TEST(InOutError, FrenchTextsWithoutFullStop)
{
    const struct {
        int code;
        const char* text;
    } cases[] = {
        {2, "Fichier introuvable"},
        {3, "Nom de fichier incorrect"},
        {4, "Trop de fichiers ouverts"},
        {5, "Acc\xC3\xA8s au fichier refus\xC3\xA9"},
        {100, "Lecture au-del\xC3\xA0 de la fin de fichier"},
        {101, "Disque plein"},
        {106, "Saisie num\xC3\xA9rique incorrecte"},
        {32, "Erreur E/S 32"},
        {0, "Erreur E/S 0"},
    };
    for (const auto& c : cases) {
        const InOutError error(c.code);
        EXPECT_STREQ(error.what(), c.text);
        EXPECT_EQ(error.Code(), c.code);
    }
}

TEST(InOutError, CodesFromErrno)
{
    TempFolder folder;
    const std::string inFolder = folder / "x.gps";
    const std::string inMissingFolder = folder / "missing/x.gps";
    const struct {
        int error;
        std::string path;
        int code;
    } cases[] = {
        {ENOENT, inFolder, 2},        {ENOENT, inMissingFolder, 3}, {ENOTDIR, inFolder, 3},
        {ENAMETOOLONG, inFolder, 3},  {EINVAL, inFolder, 3},        {EMFILE, inFolder, 4},
        {ENFILE, inFolder, 4},        {EACCES, inFolder, 5},        {EPERM, inFolder, 5},
        {EROFS, inFolder, 5},         {EISDIR, inFolder, 5},        {ETXTBSY, inFolder, 5},
        {ENOSPC, inFolder, 101},      {EDQUOT, inFolder, 101},      {EFBIG, inFolder, 101},
        // Unnamed failures never borrow a named code: EINTR is 4, ENETDOWN 100, EISCONN 106.
        {EIO, inFolder, 1005},        {ELOOP, inFolder, 1040},      {EINTR, inFolder, 1004},
        {ESRCH, inFolder, 1003},      {ENETDOWN, inFolder, 1100},   {ENETUNREACH, inFolder, 1101},
        {EISCONN, inFolder, 1106},
    };
    for (const auto& c : cases)
        EXPECT_EQ(InOutCodeFromErrno(c.error, c.path), c.code) << "errno " << c.error;

    // Two different unnamed failures never show the same text, nor the text of a named one.
    std::map<std::string, int> unnamedTexts;
    for (int error = 1; error < 512; ++error) {
        const int code = InOutCodeFromErrno(error, inFolder);
        const std::string text = InOutErrorText(code);
        if (code >= UnnamedInOutCodeBase) {
            EXPECT_EQ(text.rfind("Erreur E/S ", 0), 0u) << "errno " << error;
            const auto [it, added] = unnamedTexts.emplace(text, error);
            EXPECT_TRUE(added) << "errno " << error << " reads as errno " << it->second;
        } else {
            EXPECT_NE(text.rfind("Erreur E/S ", 0), 0u) << "errno " << error;
        }
    }
}

// A signal that arrives while open() waits (here for the writer of a pipe) interrupts it; the
// reader opens again instead of reporting "Trop de fichiers ouverts", EINTR's raw number.
TEST(LineReader, AnInterruptedOpenIsRetried)
{
    TempFolder folder;
    const std::string pipe = folder / "pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    static std::atomic<int> signals{0};
    struct sigaction action {};
    action.sa_handler = [](int) { ++signals; };
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;   // no SA_RESTART: the waiting call fails with EINTR
    struct sigaction previous {};
    ASSERT_EQ(::sigaction(SIGUSR1, &action, &previous), 0);
    signals = 0;
    const pthread_t reader = ::pthread_self();
    std::thread writer([&]() {
        for (int i = 0; i < 20; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            ::pthread_kill(reader, SIGUSR1);
        }
        // Opening the writing end lets the reader's open() return; a pipe is no text file.
        // Without a reader waiting any more, give up after a while instead of blocking.
        for (int i = 0; i < 400; ++i) {
            const int descriptor = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
            if (descriptor >= 0) {
                ::close(descriptor);
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });
    const int code = InOutCodeOf([&]() { LineReader lines(pipe); });
    writer.join();
    ::sigaction(SIGUSR1, &previous, nullptr);
    EXPECT_GT(signals.load(), 0);
    EXPECT_EQ(code, 5);
}

TEST(LineReader, AcceptsEveryLineEnd)
{
    TempFolder folder;
    const std::string path = folder / "lines.txt";
    const struct {
        std::string bytes;
        std::vector<std::string> lines;
    } cases[] = {
        {"", {}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\r\nb", {"a", "b"}},
        {"a\nb\n", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\r\r\nb", {"a", "", "b"}},
        {"a\n\nb", {"a", "", "b"}},
        {"\r\n", {""}},
        {"\n\r", {"", ""}},
        {std::string("x\0y\x1A\xFF\r\n", 7), {std::string("x\0y\x1A\xFF", 5)}},
    };
    for (const auto& c : cases) {
        WriteBytes(path, c.bytes);
        LineReader reader(path);
        std::vector<std::string> lines;
        while (!reader.AtEnd())
            lines.emplace_back(reader.ReadLine());
        EXPECT_EQ(lines, c.lines) << ::testing::PrintToString(c.bytes);
        EXPECT_EQ(InOutCodeOf([&] { reader.ReadLine(); }), 100);
    }
}

TEST(LineReader, PeeksAndRewinds)
{
    TempFolder folder;
    const std::string path = folder / "peek.txt";
    WriteBytes(path, "head\r\n\r\n\x1Atail");
    LineReader reader(path);
    EXPECT_EQ(reader.PeekByte(), 'h');
    EXPECT_EQ(reader.ReadLine(), "head");
    EXPECT_TRUE(reader.NextLineEmpty());
    EXPECT_EQ(reader.ReadLine(), "");
    EXPECT_FALSE(reader.NextLineEmpty());
    EXPECT_EQ(reader.PeekByte(), 0x1A);
    EXPECT_EQ(reader.ReadLine(), "\x1Atail");
    EXPECT_EQ(reader.PeekByte(), -1);
    reader.Rewind();
    EXPECT_EQ(reader.ReadLine(), "head");
}

// Line ends on both sides of a block's end, and lines longer than a block.
TEST(LineReader, LinesAcrossBlocks)
{
    TempFolder folder;
    const std::string path = folder / "blocks.txt";
    const auto filler = [](std::size_t length) { return std::string(length, 'x'); };
    const std::size_t block = ReadBlockSize;
    const struct {
        std::string bytes;
        std::vector<std::string> lines;
    } cases[] = {
        {filler(block - 1) + "\r\ny", {filler(block - 1), "y"}},     // CR LF split by the block's end
        {filler(block - 1) + "\ry", {filler(block - 1), "y"}},       // a lone CR there
        {filler(block - 1) + "\r", {filler(block - 1)}},             // and at the end of the file
        {filler(block - 2) + "\r\n\r\n", {filler(block - 2), ""}},
        {filler(block) + "\nz\r\n", {filler(block), "z"}},
        {"a\n" + filler(3 * block + 5) + "\r\nb", {"a", filler(3 * block + 5), "b"}},
    };
    for (const auto& c : cases) {
        WriteBytes(path, c.bytes);
        LineReader reader(path);
        for (int pass = 0; pass < 2; ++pass) {
            std::vector<std::string> lines;
            while (!reader.AtEnd())
                lines.emplace_back(reader.ReadLine());
            EXPECT_EQ(lines, c.lines) << c.bytes.size() << " bytes, pass " << pass;
            reader.Rewind();
        }
        // Counting the lines up to the first empty one crosses the same block ends.
        const auto firstEmpty = std::find(c.lines.begin(), c.lines.end(), std::string());
        EXPECT_EQ(reader.SkipLinesUntilEmpty('\x1A'), static_cast<std::size_t>(firstEmpty - c.lines.begin()))
            << c.bytes.size() << " bytes";
        EXPECT_EQ(reader.AtEnd(), firstEmpty == c.lines.end());
    }
}

// Lines of every length, so that each line end falls at every place of the 64-byte steps in
// which line ends are looked for, with the three kinds of line end in turn.
TEST(LineReader, LineEndsAtEveryPlace)
{
    TempFolder folder;
    const std::string path = folder / "lengths.txt";
    const char* const ends[] = {"\r\n", "\n", "\r"};
    std::vector<std::string> lines;
    std::string bytes;
    for (std::size_t length = 1; length <= 200; ++length) {
        lines.push_back(std::string(length - 1, 'a' + length % 26) + ";");
        bytes += lines.back() + ends[length % 3];
    }
    WriteBytes(path, bytes);
    LineReader reader(path);
    std::vector<std::string> read;
    while (!reader.AtEnd())
        read.emplace_back(reader.ReadLine());
    EXPECT_EQ(read, lines);
    reader.Rewind();
    EXPECT_EQ(reader.SkipLinesUntilEmpty('\x1A'), lines.size());
}

TEST(LineReader, OpenFailuresCarryTheirCode)
{
    TempFolder folder;
    const struct {
        std::string path;
        int code;
    } cases[] = {
        {folder / "missing.gps", 2},
        {folder / "no-folder/missing.gps", 3},
        {"", 3},
        {folder.Path().string(), 5},
        {"/dev/zero", 5},
    };
    for (const auto& c : cases)
        EXPECT_EQ(InOutCodeOf([&] { LineReader reader(c.path); }), c.code) << c.path;
}

TEST(AtomicTextWriter, WritesCrLfLinesAndLeavesNoTemporary)
{
    TempFolder folder;
    const std::string path = folder / "out.txt";
    {
        AtomicTextWriter writer(path);
        writer.WriteLine("first");
        writer.WriteLine("");
        writer.WriteLine(std::string_view("\0\xFF", 2));
        writer.Commit();
    }
    EXPECT_EQ(ReadBytes(path), std::string("first\r\n\r\n\0\xFF\r\n", 13));
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"out.txt"});
}

TEST(AtomicTextWriter, FailureOrAbandonLeavesTheOldFile)
{
    TempFolder folder;
    const std::string path = folder / "old.txt";
    const std::string old = "old contents\r\n";
    WriteBytes(path, old);

    {
        AtomicTextWriter writer(path);
        writer.WriteLine("never committed");
    }
    EXPECT_EQ(ReadBytes(path), old);

    // A full disk in the middle of a large write, and one at the final flush.
    for (std::size_t afterBytes : {std::size_t{100000}, std::size_t{10}}) {
        WriteFaultGuard fault(afterBytes, ENOSPC);
        try {
            AtomicTextWriter writer(path);
            for (int i = 0; i < 20000; ++i)
                writer.WriteLine("a line of text");
            writer.Commit();
            ADD_FAILURE() << "the write did not fail";
        } catch (const InOutError& error) {
            EXPECT_EQ(error.Code(), 101);
            EXPECT_STREQ(error.what(), "Disque plein");
        }
        EXPECT_EQ(ReadBytes(path), old);
        EXPECT_EQ(folder.Names(), std::vector<std::string>{"old.txt"});
    }
}

TEST(AtomicTextWriter, RefusesReadOnlyTargetsAndMissingFolders)
{
    TempFolder folder;
    const std::string readOnly = folder / "readonly.txt";
    WriteBytes(readOnly, "keep");
    ::chmod(readOnly.c_str(), 0444);
    EXPECT_EQ(InOutCodeOf([&] { AtomicTextWriter writer(readOnly); }), 5);
    EXPECT_EQ(ReadBytes(readOnly), "keep");

    EXPECT_EQ(InOutCodeOf([&] { AtomicTextWriter writer(folder / "nowhere/x.txt"); }), 3);
    EXPECT_EQ(InOutCodeOf([&] { AtomicTextWriter writer(folder.Path().string()); }), 5);
    EXPECT_EQ(InOutCodeOf([&] { AtomicTextWriter writer("/dev/null"); }), 5);
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"readonly.txt"});

    // What a save dialog refuses before it closes: exactly the read-only files the writer
    // refuses, directly or through a link; a new name, a folder or a device is left to the save.
    const std::string writable = folder / "writable.txt";
    WriteBytes(writable, "");
    std::filesystem::create_symlink(readOnly, folder / "link.txt");
    const std::pair<std::string, bool> cases[] = {
        {readOnly, true},  {folder / "link.txt", true},      {writable, false},
        {folder / "new.txt", false}, {folder.Path().string(), false}, {"/dev/null", false},
        {"", false},
    };
    for (const auto& [path, writeProtected] : cases)
        EXPECT_EQ(IsWriteProtected(path), writeProtected) << path;
}

TEST(AtomicTextWriter, KeepsPermissionsOfTheReplacedFile)
{
    TempFolder folder;
    const std::string existing = folder / "existing.txt";
    WriteBytes(existing, "x");
    ::chmod(existing.c_str(), 0640);
    const std::string fresh = folder / "fresh.txt";

    const mode_t previousMask = ::umask(022);
    for (const std::string& path : {existing, fresh}) {
        AtomicTextWriter writer(path);
        writer.WriteLine("y");
        writer.Commit();
    }
    ::umask(previousMask);

    struct stat info {};
    ASSERT_EQ(::stat(existing.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    ASSERT_EQ(::stat(fresh.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0644u);
}

TEST(AtomicTextWriter, WritesThroughSymbolicLinks)
{
    TempFolder folder;
    std::filesystem::create_directory(folder.Path() / "real");
    const std::string target = folder / "real/data.txt";
    WriteBytes(target, "old");
    const std::string link = folder / "link.txt";
    std::filesystem::create_symlink("real/data.txt", link);

    AtomicTextWriter writer(link);
    writer.WriteLine("new");
    writer.Commit();

    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadBytes(target), "new\r\n");
    EXPECT_EQ(ReadBytes(link), "new\r\n");
}

} // namespace
} // namespace uzuviv
