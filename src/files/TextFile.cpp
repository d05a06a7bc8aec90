#include "files/TextFile.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace uzuviv {

namespace {

std::optional<std::pair<std::size_t, int>> WriteFault;

constexpr int MaxLinkDepth = 40;
// Reads and writes go in blocks of this size, which the caches still hold.
constexpr std::size_t MinimumReadBlock = 4 * 1024;
constexpr std::size_t WriteBlockSize = 256 * 1024;
// Room after the bytes read, so that the line ends of the last 64 bytes are found in whole loads.
constexpr std::size_t LineEndsSlack = 64;

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string NameOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool IsFolder(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Follows symbolic links so that the file they point to is replaced, not the link.
// A dangling link resolves to the path it names.
std::string ResolveLinks(std::string path)
{
    for (int depth = 0; depth < MaxLinkDepth; ++depth) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return path;
        std::string target(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 0) + 256, '\0');
        const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
        if (length < 0)
            throw InOutError(InOutCodeFromErrno(errno, path));
        target.resize(static_cast<std::size_t>(length));
        path = target.starts_with('/') ? target : FolderOf(path) + "/" + target;
    }
    throw InOutError(InOutCodeFromErrno(ELOOP, path));
}

// A system call interrupted by a signal has done nothing yet: call it again.
template <typename Call>
auto RetryInterrupted(Call call)
{
    for (;;) {
        const auto result = call();
        if (result >= 0 || errno != EINTR)
            return result;
    }
}

// An interrupted close() has still closed the descriptor on Linux: calling it again could close
// a descriptor another thread just opened, so EINTR counts as done.
int CloseDescriptor(int descriptor)
{
    const int result = ::close(descriptor);
    return result != 0 && errno == EINTR ? 0 : result;
}

// Why the existing file `existing` at `target` may not be replaced, as an input/output code;
// 0 when it may.
int ReplaceRefusal(const std::string& target, const struct stat& existing)
{
    // Renaming over a folder, a device or a pipe would not write into it but replace it.
    if (!S_ISREG(existing.st_mode))
        return 5;
    // Checked on the bits, not with access(): root may write anything, but a file its owner made
    // read-only should not be replaced behind their back.
    if ((existing.st_mode & 0222) == 0)
        return 5;
    // Write access to the folder alone would let a user replace a file they may only read.
    if (RetryInterrupted([&]() { return ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS); }) != 0)
        return InOutCodeFromErrno(errno, target);
    return 0;
}

mode_t CurrentUmask()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

} // namespace

std::string InOutErrorText(int code)
{
    switch (code) {
    case 2: return "Fichier introuvable";
    case 3: return "Nom de fichier incorrect";
    case 4: return "Trop de fichiers ouverts";
    case 5: return "Accès au fichier refusé";
    case 100: return "Lecture au-delà de la fin de fichier";
    case 101: return "Disque plein";
    case 106: return "Saisie numérique incorrecte";
    default: return "Erreur E/S " + std::to_string(code);
    }
}

InOutError::InOutError(int code) : std::runtime_error(InOutErrorText(code)), code_(code) {}

int InOutCodeFromErrno(int error, const std::string& path)
{
    switch (error) {
    case ENOENT:
        return path.empty() || !IsFolder(FolderOf(path)) ? 3 : 2;
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL:
        return 3;
    case EMFILE:
    case ENFILE:
        return 4;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
        return 5;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return 101;
    default:
        // A raw errno would collide with the named codes (EINTR is 4, "too many open files";
        // ENETDOWN is 100, "read past the end"), so every other failure gets its own range.
        return UnnamedInOutCodeBase + error;
    }
}

int OpenFileForReading(const std::string& path)
{
    if (path.empty())
        throw InOutError(3);
    const int descriptor = RetryInterrupted([&]() { return ::open(path.c_str(), O_RDONLY | O_CLOEXEC); });
    if (descriptor < 0)
        throw InOutError(InOutCodeFromErrno(errno, path));
    struct stat info {};
    if (::fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
        // A folder, a device or a pipe is no text file; /dev/zero would never end.
        CloseDescriptor(descriptor);
        throw InOutError(5);
    }
    return descriptor;
}

LineReader::LineReader(const std::string& path) : path_(path), descriptor_(OpenFileForReading(path))
{
    struct stat info {};
    ::fstat(descriptor_, &info);
    // A small file in one read, a large one block by block: the whole of it is never held.
    // One byte beyond the size, so that the end shows as a read of nothing.
    fileSize_ = static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 0);
    capacity_ = std::clamp(fileSize_ + 1, MinimumReadBlock, ReadBlockSize);
    buffer_ = std::make_unique<char[]>(capacity_ + LineEndsSlack);
    try {
        Refill();
    } catch (...) {
        CloseDescriptor(descriptor_);
        throw;
    }
}

LineReader::~LineReader()
{
    CloseDescriptor(descriptor_);
}

bool LineReader::Refill()
{
    if (endOfFile_)
        return false;
    lineEndsAt_ = NoLineEnds;
    if (position_ > 0) {
        std::memmove(buffer_.get(), buffer_.get() + position_, filled_ - position_);
        filled_ -= position_;
        position_ = 0;
        holdsFileStart_ = false;
    }
    if (filled_ == capacity_) {
        // A line longer than the block.
        auto larger = std::make_unique<char[]>(capacity_ * 2 + LineEndsSlack);
        std::memcpy(larger.get(), buffer_.get(), filled_);
        buffer_ = std::move(larger);
        capacity_ *= 2;
    }
    const ssize_t count = RetryInterrupted(
        [&]() { return ::read(descriptor_, buffer_.get() + filled_, capacity_ - filled_); });
    if (count < 0)
        throw InOutError(InOutCodeFromErrno(errno, path_));
    if (count == 0) {
        endOfFile_ = true;
        return false;
    }
    filled_ += static_cast<std::size_t>(count);
    return true;
}

void LineReader::FindLineEnds(std::size_t chunk)
{
    const char* const data = buffer_.get() + chunk;
    std::uint64_t ends = 0;
#if defined(__SSE2__)
    for (int i = 0; i < 64; i += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        const __m128i hits = _mm_or_si128(_mm_cmpeq_epi8(block, _mm_set1_epi8('\r')),
                                          _mm_cmpeq_epi8(block, _mm_set1_epi8('\n')));
        ends |= std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(hits))} << i;
    }
#else
    for (int i = 0; i < 64; ++i)
        ends |= std::uint64_t{data[i] == '\r' || data[i] == '\n'} << i;
#endif
    // The bytes after those read are whatever an earlier block left there.
    if (filled_ - chunk < 64)
        ends &= (std::uint64_t{1} << (filled_ - chunk)) - 1;
    lineEnds_ = ends;
    lineEndsAt_ = chunk;
}

std::string_view LineReader::ReadLineAcrossBlocks()
{
    if (AtEnd())
        throw InOutError(100);
    std::size_t searched = 0;   // bytes after position_ known to hold no line end
    for (;;) {
        const std::size_t end = FindAnyByte<'\r', '\n'>(std::string_view(buffer_.get(), filled_), position_ + searched);
        const bool found = end < filled_;
        // A CR as the last byte read may be the first half of CR LF.
        const bool undecided = found && buffer_[end] == '\r' && end + 1 == filled_;
        const std::size_t length = end - position_;
        if (found && !undecided) {
            const std::size_t start = position_;
            position_ = end + 1 + (buffer_[end] == '\r' && buffer_[end + 1] == '\n');
            return std::string_view(buffer_.get() + start, length);
        }
        if (Refill()) {
            searched = length;
            continue;
        }
        // The end of the file: a CR there ends the line alone, else the line ends with the file.
        const std::size_t start = position_;
        position_ = start + length + (found ? 1 : 0);
        return std::string_view(buffer_.get() + start, length);
    }
}

bool LineReader::NextLineEmpty()
{
    const int next = PeekByte();
    return next == '\r' || next == '\n';
}

std::size_t LineReader::SkipLinesUntilEmpty(char stopByte)
{
    std::size_t count = 0;
    while (!AtEnd()) {
        const char first = buffer_[position_];
        if (first == '\r' || first == '\n' || first == stopByte)
            break;
        const std::size_t end = NextLineEnd(position_);
        if (end + 1 < filled_)
            position_ = end + 1 + (buffer_[end] == '\r' && buffer_[end + 1] == '\n');
        else
            ReadLineAcrossBlocks();
        ++count;
    }
    return count;
}

void LineReader::Rewind()
{
    position_ = 0;
    lineEndsAt_ = NoLineEnds;
    // A file that fitted in one block is still all there.
    if (holdsFileStart_)
        return;
    if (::lseek(descriptor_, 0, SEEK_SET) != 0)
        throw InOutError(InOutCodeFromErrno(errno, path_));
    filled_ = 0;
    endOfFile_ = false;
    holdsFileStart_ = true;
    Refill();
}

AtomicTextWriter::AtomicTextWriter(const std::string& path)
{
    if (path.empty() || path.back() == '/')
        throw InOutError(3);
    target_ = ResolveLinks(path);
    const std::string folder = FolderOf(target_);
    if (!IsFolder(folder))
        throw InOutError(3);

    mode_t mode = 0666 & ~CurrentUmask();
    struct stat existing {};
    const bool exists = ::stat(target_.c_str(), &existing) == 0;
    if (exists) {
        if (const int refusal = ReplaceRefusal(target_, existing); refusal != 0)
            throw InOutError(refusal);
        mode = existing.st_mode & 07777;
    }

    std::string pattern = folder + "/." + NameOf(target_) + ".XXXXXX";
    descriptor_ = RetryInterrupted([&]() { return ::mkstemp(pattern.data()); });
    if (descriptor_ < 0)
        throw InOutError(InOutCodeFromErrno(errno, target_));
    temporary_ = pattern;
    if (RetryInterrupted([&]() { return ::fchmod(descriptor_, mode); }) != 0)
        Fail(errno);
    if (exists && (existing.st_uid != ::geteuid() || existing.st_gid != ::getegid())) {
        // Best effort: only a privileged user can give the file back to its owner.
        [[maybe_unused]] const int ignored = ::fchown(descriptor_, existing.st_uid, existing.st_gid);
    }
    capacity_ = WriteBlockSize;
    buffer_ = std::make_unique<char[]>(capacity_);
}

AtomicTextWriter::~AtomicTextWriter()
{
    if (descriptor_ >= 0)
        CloseDescriptor(descriptor_);
    if (!committed_ && !temporary_.empty())
        ::unlink(temporary_.c_str());
}

void AtomicTextWriter::WriteLine(std::string_view bytes)
{
    char* const out = BeginLine(bytes.size());
    std::memcpy(out, bytes.data(), bytes.size());
    EndLine(out + bytes.size());
}

char* AtomicTextWriter::BeginLine(std::size_t maxBytes)
{
    if (failedCode_ != 0)
        throw InOutError(failedCode_);
    const std::size_t needed = maxBytes + 2;
    if (capacity_ - used_ < needed) {
        FlushBuffer();
        if (capacity_ < needed) {
            buffer_ = std::make_unique<char[]>(needed);
            capacity_ = needed;
        }
    }
    return buffer_.get() + used_;
}

void AtomicTextWriter::FlushBuffer()
{
    std::size_t offset = 0;
    while (offset < used_) {
        std::size_t count = used_ - offset;
        if (WriteFault) {
            if (bytesWritten_ >= WriteFault->first)
                Fail(WriteFault->second);
            count = std::min(count, WriteFault->first - bytesWritten_);
        }
        const ssize_t written = ::write(descriptor_, buffer_.get() + offset, count);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            Fail(errno);
        }
        offset += static_cast<std::size_t>(written);
        bytesWritten_ += static_cast<std::size_t>(written);
    }
    used_ = 0;
}

void AtomicTextWriter::Commit()
{
    if (failedCode_ != 0)
        throw InOutError(failedCode_);
    if (committed_)
        return;
    FlushBuffer();
    if (RetryInterrupted([&]() { return ::fsync(descriptor_); }) != 0)
        Fail(errno);
    const int descriptor = descriptor_;
    descriptor_ = -1;
    if (CloseDescriptor(descriptor) != 0)
        Fail(errno);
    if (RetryInterrupted([&]() { return ::rename(temporary_.c_str(), target_.c_str()); }) != 0)
        Fail(errno);
    committed_ = true;
    // Make the rename itself durable; the data is already safe, so a failure here is not
    // worth reporting.
    const int folder = RetryInterrupted(
        [&]() { return ::open(FolderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); });
    if (folder >= 0) {
        RetryInterrupted([&]() { return ::fsync(folder); });
        CloseDescriptor(folder);
    }
}

void AtomicTextWriter::Fail(int error)
{
    failedCode_ = InOutCodeFromErrno(error, target_);
    if (descriptor_ >= 0) {
        CloseDescriptor(descriptor_);
        descriptor_ = -1;
    }
    ::unlink(temporary_.c_str());
    temporary_.clear();
    throw InOutError(failedCode_);
}

bool IsWriteProtected(const std::string& path)
{
    try {
        const std::string target = ResolveLinks(path);
        struct stat existing {};
        return !path.empty() && ::stat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)
               && ReplaceRefusal(target, existing) == 5;
    } catch (const InOutError&) {
        return false;   // the save itself reports what is wrong with the path
    }
}

void SetWriteFaultForTesting(std::optional<std::pair<std::size_t, int>> fault)
{
    WriteFault = fault;
}

} // namespace uzuviv
