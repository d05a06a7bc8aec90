#include "FuzzSupport.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace uzuviv::fuzz {

namespace {

std::string ScratchFolder()
{
    struct stat info {};
    if (::stat("/dev/shm", &info) == 0 && S_ISDIR(info.st_mode) && ::access("/dev/shm", W_OK) == 0)
        return "/dev/shm";
    const char* temporary = std::getenv("TMPDIR");
    return temporary != nullptr && *temporary != '\0' ? temporary : "/tmp";
}

void WriteAll(const std::string& path, const char* data, std::size_t size)
{
    const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (descriptor < 0)
        Fail(__FILE__, __LINE__, "cannot create the scratch file " + path);
    while (size > 0) {
        const ssize_t written = ::write(descriptor, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            Fail(__FILE__, __LINE__, "cannot write the scratch file " + path);
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    ::close(descriptor);
}

} // namespace

void Fail(const char* file, int line, const std::string& what)
{
    std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, what.c_str());
    std::fflush(stderr);
    std::abort();
}

ScratchFile::ScratchFile(std::string_view role)
    : path_(ScratchFolder() + "/uzuviv-fuzz-" + std::to_string(::getpid()) + "-" + std::string(role))
{
}

ScratchFile::~ScratchFile() { ::unlink(path_.c_str()); }

void ScratchFile::Write(const std::uint8_t* data, std::size_t size) const
{
    WriteAll(path_, reinterpret_cast<const char*>(data), size);
}

void ScratchFile::Write(std::string_view bytes) const { WriteAll(path_, bytes.data(), bytes.size()); }

std::string ScratchFile::Read() const
{
    std::string content;
    std::FILE* file = std::fopen(path_.c_str(), "rb");
    if (file == nullptr)
        Fail(__FILE__, __LINE__, "cannot read the scratch file " + path_);
    char buffer[4096];
    std::size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        content.append(buffer, count);
    std::fclose(file);
    return content;
}

void CheckingProgress::Show(const std::string&)
{
    FUZZ_CHECK(!shown_);
    shown_ = true;
    last_ = 0;
}

void CheckingProgress::SetProgress(int percent)
{
    FUZZ_CHECK(shown_);
    FUZZ_CHECK(percent >= last_ && percent <= 100);
    last_ = percent;
}

void CheckingProgress::Close()
{
    FUZZ_CHECK(shown_);
    shown_ = false;
}

void CheckingProgress::CheckClosed() const { FUZZ_CHECK(!shown_); }

bool IsOneLine(std::string_view text) { return text.find_first_of("\r\n") == std::string_view::npos; }

} // namespace uzuviv::fuzz
