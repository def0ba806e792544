#include "document/FileSource.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zb {

FileSource::~FileSource() {
    if (fd_ >= 0) ::close(fd_);
}

bool FileSource::Open(const std::string& path) {
    // O_NONBLOCK keeps open() from waiting for a writer when the name is a
    // named pipe; it has no effect on regular files.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        error_ = errno;
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        error_ = errno;
        ::close(fd);
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        error_ = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        ::close(fd);
        return false;
    }
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    fd_ = fd;
    size_ = uint64_t(st.st_size);
    consumed_ = 0;
    buffer_.reset(new uint8_t[kBufferSize]);
    begin_ = end_ = 0;
    return true;
}

bool FileSource::Read(void* out, size_t size) {
    if (fd_ < 0 || error_) return false;
    if (size > Remaining()) return false;
    auto* dest = static_cast<uint8_t*>(out);
    const size_t buffered = std::min(size, end_ - begin_);
    std::memcpy(dest, buffer_.get() + begin_, buffered);
    begin_ += buffered;
    consumed_ += buffered;
    dest += buffered;
    size -= buffered;
    if (size == 0) return true;

    if (size >= kBufferSize) {
        if (!ReadDirect(dest, size)) return false;
        consumed_ += size;
        return true;
    }
    // Refill the buffer with as much as is left, up to its size.
    const size_t want = size_t(std::min<uint64_t>(kBufferSize, Remaining()));
    if (!ReadDirect(buffer_.get(), want)) return false;
    begin_ = 0;
    end_ = want;
    std::memcpy(dest, buffer_.get(), size);
    begin_ = size;
    consumed_ += size;
    return true;
}

bool FileSource::ReadDirect(uint8_t* out, size_t size) {
    while (size > 0) {
        const ssize_t n = ::read(fd_, out, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            error_ = errno;
            return false;
        }
        if (n == 0) {
            // The file became shorter while it was read: count it as its end.
            size_ = consumed_;
            return false;
        }
        out += n;
        size -= size_t(n);
    }
    return true;
}

} // namespace zb
