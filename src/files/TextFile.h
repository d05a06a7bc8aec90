#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// Files are read in blocks of this size; a longer line is read whole all the same.
inline constexpr std::size_t ReadBlockSize = 256 * 1024;

// Reads a file in large blocks and hands out its lines as raw bytes (no decoding).
// CR LF, LF and a lone CR all end a line; the last line may lack its line end.
class LineReader {
public:
    explicit LineReader(const std::string& path);   // throws InOutError
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // The next line, valid until the next call. Throws InOutError(100) once the whole file has
    // been consumed, or the code of a failed read.
    std::string_view ReadLine();

    bool AtEnd() { return position_ >= filled_ && !Refill(); }
    // The next byte without consuming it; -1 at the end.
    int PeekByte() { return AtEnd() ? -1 : static_cast<unsigned char>(buffer_[position_]); }
    // True when the next line is empty (it starts with a line end).
    bool NextLineEmpty();
    void Rewind();   // throws InOutError
    // Moves past the lines up to the first empty one, the first that begins with `stopByte`, or
    // the end of the file, and tells how many there were.
    std::size_t SkipLinesUntilEmpty(char stopByte);
    // The size the file had when it was opened.
    std::size_t FileSize() const { return fileSize_; }

private:
    // Keeps the unread bytes, reads more after them; false when nothing more came (the end).
    bool Refill();
    std::string_view ReadLineAcrossBlocks();
    // The position of the first CR or LF from `from` on, or filled_. Line ends are found for 64
    // bytes at once and kept as bits, so the short lines of a project file cost one bit scan each.
    std::size_t NextLineEnd(std::size_t from);
    void FindLineEnds(std::size_t chunk);

    std::string path_;
    int descriptor_ = -1;
    std::unique_ptr<char[]> buffer_;
    std::size_t fileSize_ = 0;
    std::size_t capacity_ = 0;
    std::size_t position_ = 0;   // the first unread byte
    std::size_t filled_ = 0;     // the end of the bytes read
    bool endOfFile_ = false;
    bool holdsFileStart_ = true;   // buffer_ begins with the file's first byte
    // The line ends of the 64 bytes from lineEndsAt_ (a multiple of 64), one bit each; none
    // known while lineEndsAt_ is NoLineEnds.
    static constexpr std::size_t NoLineEnds = ~std::size_t{0};
    std::size_t lineEndsAt_ = NoLineEnds;
    std::uint64_t lineEnds_ = 0;
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
    // A line written straight into the output buffer: BeginLine gives room for `maxBytes`
    // bytes, EndLine takes the end of what was written there and adds CR LF.
    char* BeginLine(std::size_t maxBytes);
    void EndLine(char* end)
    {
        *end++ = '\r';
        *end++ = '\n';
        used_ = static_cast<std::size_t>(end - buffer_.get());
    }
    void Commit();

private:
    void FlushBuffer();
    [[noreturn]] void Fail(int error);

    std::string target_;
    std::string temporary_;
    std::unique_ptr<char[]> buffer_;
    std::size_t capacity_ = 0;
    std::size_t used_ = 0;
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

// The position of the first byte equal to one of `Bytes` from `from` on, or the size. Sixteen
// or eight bytes at a time; in eight, the zero-byte test flags a match, and its lowest flagged
// byte is always a true one (a false flag can only follow a true one), which is all a search
// needs.
template <char... Bytes>
std::size_t FindAnyByte(std::string_view text, std::size_t from)
{
    const char* const data = text.data();
    const std::size_t size = text.size();
    std::size_t i = from;
#if defined(__SSE2__)
    // Sixteen bytes at a time where the processor compares them in one step.
    for (; i + 16 <= size; i += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        __m128i hits = _mm_setzero_si128();
        ((hits = _mm_or_si128(hits, _mm_cmpeq_epi8(block, _mm_set1_epi8(Bytes)))), ...);
        const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(hits));
        if (mask != 0)
            return i + static_cast<std::size_t>(std::countr_zero(mask));
    }
#endif
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

inline std::size_t LineReader::NextLineEnd(std::size_t from)
{
    std::size_t chunk = from & ~std::size_t{63};
    if (chunk != lineEndsAt_)
        FindLineEnds(chunk);
    std::uint64_t ends = lineEnds_ & (~std::uint64_t{0} << (from & 63));
    while (ends == 0) {
        chunk += 64;
        if (chunk >= filled_)
            return filled_;
        FindLineEnds(chunk);
        ends = lineEnds_;
    }
    return chunk + static_cast<std::size_t>(std::countr_zero(ends));
}

inline std::string_view LineReader::ReadLine()
{
    // Most lines lie inside the block read: find the end, step over CR LF as one.
    const char* const data = buffer_.get();
    const std::size_t end = NextLineEnd(position_);
    if (end + 1 < filled_) {
        const std::size_t start = position_;
        position_ = end + 1 + (data[end] == '\r' && data[end + 1] == '\n');
        return std::string_view(data + start, end - start);
    }
    return ReadLineAcrossBlocks();
}

} // namespace uzuviv
