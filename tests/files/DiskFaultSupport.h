#pragma once

// Folders whose disk can be made to fail: full, read-only, or owned by someone else.

#include <fcntl.h>
#include <grp.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "TempFolder.h"
#include "files/UnitOfCodes.h"

namespace uzuviv::disktest {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::TempFolder;

inline std::vector<std::string> NamesIn(const fs::path& folder)
{
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Compares a file's bytes without printing megabytes on a mismatch.
inline ::testing::AssertionResult Holds(const std::string& path, const std::string& expected)
{
    const std::string actual = ReadBytes(path);
    if (actual == expected)
        return ::testing::AssertionSuccess();
    const auto difference = std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end());
    return ::testing::AssertionFailure() << path << " holds " << actual.size() << " bytes instead of "
                                         << expected.size() << ", differing from byte "
                                         << (difference.first - actual.begin());
}

// What is at `path`, for "unchanged" checks that hold for files and folders alike.
inline std::string Describe(const std::string& path)
{
    std::error_code error;
    const auto status = fs::symlink_status(path, error);
    if (fs::is_regular_file(status))
        return "file " + std::to_string(static_cast<unsigned>(status.permissions())) + ": "
               + ReadBytes(path);
    if (fs::is_directory(status)) {
        std::string text = "folder:";
        for (const std::string& name : NamesIn(path))
            text += " " + name + "=" + ReadBytes((fs::path(path) / name).string());
        return text;
    }
    return "nothing";
}

// A folder to write in: a plain temporary folder, or a tmpfs of its own mounted on it.
class Place {
public:
    Place() { fs::create_directory(path_); }
    ~Place()
    {
        if (mounted_)
            ::umount2(path_.c_str(), MNT_DETACH);
        ::chmod(path_.c_str(), 0755);
    }
    Place(const Place&) = delete;
    Place& operator=(const Place&) = delete;

    // Empty on success, else why the mount failed.
    std::string Mount(const std::string& options)
    {
        if (::geteuid() != 0)
            return "not running as root, so no tmpfs can be mounted";
        if (::mount("tmpfs", path_.c_str(), "tmpfs", 0, options.c_str()) != 0)
            return "mount -t tmpfs -o " + options + " failed: " + std::strerror(errno);
        mounted_ = true;
        options_ = options;
        return {};
    }
    void Remount(bool readOnly)
    {
        const unsigned long flags = MS_REMOUNT | (readOnly ? MS_RDONLY : 0);
        ASSERT_EQ(::mount("tmpfs", path_.c_str(), "tmpfs", flags, options_.c_str()), 0)
            << std::strerror(errno);
    }

    // Anyone may create and rename files here (no sticky bit).
    void OpenToEveryone()
    {
        ::chmod(root_.Path().c_str(), 0755);
        ::chmod(path_.c_str(), 0777);
    }

    std::string File(const std::string& name) const { return (path_ / name).string(); }
    const fs::path& Path() const { return path_; }

private:
    TempFolder root_;
    fs::path path_ = root_.Path() / "place";
    bool mounted_ = false;
    std::string options_;
};

// Why a tmpfs cannot be mounted here, or empty when it can.
inline std::string TmpfsUnavailable()
{
    Place probe;
    return probe.Mount("size=64k");
}

// Whether the permission bits of a folder stop this process from creating files in it (they do
// not stop root).
inline bool PermissionBitsStopWrites()
{
    TempFolder folder;
    ::chmod(folder.Path().c_str(), 0555);
    const std::string probe = folder.File("probe");
    const int descriptor = ::open(probe.c_str(), O_WRONLY | O_CREAT, 0644);
    if (descriptor >= 0) {
        ::close(descriptor);
        ::unlink(probe.c_str());
    }
    ::chmod(folder.Path().c_str(), 0755);
    return descriptor < 0;
}

// Fills the file system of `place` until it refuses: one growing file, or empty files until no
// inode is left.
inline void FillBlocks(const Place& place)
{
    const std::string filler = place.File("filler");
    const int descriptor = ::open(filler.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(descriptor, 0) << std::strerror(errno);
    const std::string chunk(512, 'x');
    int error = 0;
    for (;;) {
        if (::write(descriptor, chunk.data(), chunk.size()) < 0) {
            error = errno;
            break;
        }
    }
    ::close(descriptor);
    ASSERT_EQ(error, ENOSPC) << std::strerror(error);
}

inline void FillInodes(const Place& place)
{
    for (int i = 0;; ++i) {
        const std::string filler = place.File("filler" + std::to_string(i));
        const int descriptor = ::open(filler.c_str(), O_WRONLY | O_CREAT, 0644);
        if (descriptor < 0) {
            ASSERT_EQ(errno, ENOSPC) << std::strerror(errno);
            return;
        }
        ::close(descriptor);
    }
}

inline void RemoveFillers(const Place& place)
{
    for (const std::string& name : NamesIn(place.Path()))
        if (name.starts_with("filler"))
            fs::remove(place.File(name));
}

// Runs `action` in a child process as the user "nobody". Returns the input/output code it failed
// with, 0 when it succeeded.
inline int CodeAsAnotherUser(const std::function<void()>& action)
{
    constexpr uid_t Nobody = 65534;
    const pid_t child = ::fork();
    if (child == 0) {
        int code = 0;
        if (::setgroups(0, nullptr) != 0 || ::setresgid(Nobody, Nobody, Nobody) != 0
            || ::setresuid(Nobody, Nobody, Nobody) != 0)
            ::_exit(250);
        try {
            action();
        } catch (const InOutError& error) {
            code = error.Code();
        } catch (...) {
            code = 251;
        }
        ::_exit(code);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

} // namespace uzuviv::disktest
