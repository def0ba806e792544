#include "platform/FileLock.h"

#include <algorithm>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace zb::platform {

namespace {

// Opens a regular file without blocking on a pipe and without following a link.
int OpenRegular(const std::string& path, int flags) {
    const int fd = ::open(path.c_str(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (fd < 0) return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

FileLock::~FileLock() { Release(); }

FileLock::FileLock(FileLock&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), path_(std::move(other.path_)) {}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
    if (this != &other) {
        Release();
        fd_ = std::exchange(other.fd_, -1);
        path_ = std::move(other.path_);
    }
    return *this;
}

bool FileLock::TryLock(const std::string& path, bool create) {
    Release();
    const int fd = OpenRegular(path, create ? O_RDWR | O_CREAT : O_RDONLY);
    if (fd < 0) return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    path_ = path;
    return true;
}

void FileLock::RemoveFile() {
    if (fd_ >= 0) ::unlink(path_.c_str());
    Release();
}

void FileLock::Release() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    path_.clear();
}

bool ReadRegularFile(const std::string& path, size_t limit, std::string& contents) {
    const int fd = OpenRegular(path, O_RDONLY);
    if (fd < 0) return false;
    contents.clear();
    char buffer[4096];
    ssize_t got = 0;
    while (contents.size() < limit && (got = ::read(fd, buffer, sizeof buffer)) > 0)
        contents.append(buffer, size_t(std::min<ssize_t>(got, ssize_t(limit - contents.size()))));
    ::close(fd);
    return got >= 0;
}

} // namespace zb::platform
