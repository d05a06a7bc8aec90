#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "files/InOutError.h"

namespace uzuviv {

// The French runtime text of an input/output code, without a full stop.
std::string InOutErrorText(int code);

// The code of a system failure that none of the named codes (2, 3, 4, 5, 100, 101, 106)
// describes is this plus its errno, so two different failures never read the same.
inline constexpr int UnnamedInOutCodeBase = 1000;

// The input/output code of a failed system call on `path`: ENOENT is 2 ("file not found"),
// or 3 ("invalid file name") when the folder of the path does not exist either.
int InOutCodeFromErrno(int error, const std::string& path);

// Opens a regular file for reading and returns its descriptor, which the caller closes; a
// folder, a device or a pipe is refused as access denied (code 5). Throws InOutError.
int OpenFileForReading(const std::string& path);

// Reads a whole file into memory and hands out its lines as raw bytes (no decoding).
// CR LF, LF and a lone CR all end a line; the last line may lack its line end.
class LineReader {
public:
    explicit LineReader(const std::string& path);   // throws InOutError

    // The next line, valid as long as the reader lives. Throws InOutError(100) once the
    // whole file has been consumed.
    std::string_view ReadLine();

    bool AtEnd() const { return position_ >= content_.size(); }
    // The next byte without consuming it; -1 at the end.
    int PeekByte() const;
    // True when the next line is empty (it starts with a line end).
    bool NextLineEmpty() const;
    void Rewind() { position_ = 0; }

private:
    std::string content_;
    std::size_t position_ = 0;
};

// Writes a text file atomically: lines go to a temporary file beside the target, which
// replaces the target only in Commit(). Destroying the writer before Commit(), or any
// failure, removes the temporary and leaves the target as it was.
// A symbolic link as target is written through (the file it points to is replaced); the new
// file keeps the permission bits of the file it replaces.
class AtomicTextWriter {
public:
    explicit AtomicTextWriter(const std::string& path);   // throws InOutError
    ~AtomicTextWriter();
    AtomicTextWriter(const AtomicTextWriter&) = delete;
    AtomicTextWriter& operator=(const AtomicTextWriter&) = delete;

    // Writes the bytes followed by CR LF.
    void WriteLine(std::string_view bytes);
    void Commit();

private:
    void Append(std::string_view bytes);
    void FlushBuffer();
    [[noreturn]] void Fail(int error);

    std::string target_;
    std::string temporary_;
    std::string buffer_;
    int descriptor_ = -1;
    std::size_t bytesWritten_ = 0;
    int failedCode_ = 0;   // the code of the first failure; the writer is dead after it
    bool committed_ = false;
};

// True when `path` names an existing file that AtomicTextWriter would refuse to replace for
// want of write access (read-only, or not writable by this user); a missing file is not.
bool IsWriteProtected(const std::string& path);

// Test only: makes every AtomicTextWriter fail with errno `second` once `first` bytes have
// reached its temporary file (simulates a full disk). std::nullopt switches it off.
void SetWriteFaultForTesting(std::optional<std::pair<std::size_t, int>> fault);

// The position of the first byte equal to one of `Bytes` from `from` on, or the size. Eight
// bytes at a time: the zero-byte test flags a match, and its lowest flagged byte is always a
// true one (a false flag can only follow a true one), which is all a search needs.
template <char... Bytes>
std::size_t FindAnyByte(std::string_view text, std::size_t from)
{
    const char* const data = text.data();
    const std::size_t size = text.size();
    std::size_t i = from;
    if constexpr (std::endian::native == std::endian::little) {
        constexpr std::uint64_t ones = 0x0101010101010101u;
        constexpr std::uint64_t highs = 0x8080808080808080u;
        for (; i + 8 <= size; i += 8) {
            std::uint64_t word;
            std::memcpy(&word, data + i, sizeof word);
            const auto flags = [word](char byte) {
                const std::uint64_t match = word ^ (ones * static_cast<unsigned char>(byte));
                return (match - ones) & ~match & highs;
            };
            const std::uint64_t found = (flags(Bytes) | ...);
            if (found != 0)
                return i + static_cast<std::size_t>(std::countr_zero(found)) / 8;
        }
    }
    while (i < size && ((data[i] != Bytes) && ...))
        ++i;
    return i;
}

} // namespace uzuviv
