#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "files/UnitOfCodes.h"

namespace uzuviv::fuzz {

// A broken invariant: prints what broke and aborts, which libFuzzer reports as a crash and
// saves the input that caused it.
[[noreturn]] void Fail(const char* file, int line, const std::string& what);

#define FUZZ_CHECK(condition)                                                                  \
    do {                                                                                       \
        if (!(condition))                                                                      \
            ::uzuviv::fuzz::Fail(__FILE__, __LINE__, #condition);                              \
    } while (false)

// A file of this process on a memory file system (/dev/shm when there is one), reused for
// every input so that the readers, which take paths, cost no disk traffic. Removed at exit.
class ScratchFile {
public:
    explicit ScratchFile(std::string_view role);
    ~ScratchFile();
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    const std::string& Path() const { return path_; }
    // Replaces the file's contents by exactly these bytes.
    void Write(const std::uint8_t* data, std::size_t size) const;
    void Write(std::string_view bytes) const;
    std::string Read() const;

private:
    std::string path_;
};

// A progress window that checks how the readers and writers drive it: shown before any
// percentage, percentages from 0 to 100 that never go back, one close per show.
class CheckingProgress : public ProgressSink {
public:
    void Show(const std::string& caption) override;
    void SetProgress(int percent) override;
    void Close() override;

    // After the routine returned or threw: the window must be closed again.
    void CheckClosed() const;

private:
    bool shown_ = false;
    int last_ = 0;
};

// True when the text holds no CR or LF: a field with one would break its file's line structure.
bool IsOneLine(std::string_view text);

} // namespace uzuviv::fuzz
