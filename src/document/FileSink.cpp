#include "document/FileSink.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace zb {

FileSink::FileSink(int fd) : fd_(fd), buffer_(new uint8_t[kBufferSize]) {}

bool FileSink::Write(const void* data, size_t size) {
    if (error_) return false;
    const auto* bytes = static_cast<const uint8_t*>(data);
    if (size <= kBufferSize - used_) {
        std::memcpy(buffer_.get() + used_, bytes, size);
        used_ += size;
        return true;
    }
    if (!Flush()) return false;
    if (size >= kBufferSize) return WriteOut(bytes, size);
    std::memcpy(buffer_.get(), bytes, size);
    used_ = size;
    return true;
}

bool FileSink::Flush() {
    if (error_) return false;
    const size_t n = used_;
    used_ = 0;
    return n == 0 || WriteOut(buffer_.get(), n);
}

bool FileSink::WriteOut(const uint8_t* data, size_t size) {
    bool limited = false;
    if (limit_ >= 0 && written_ + size > uint64_t(limit_)) {
        size = size_t(uint64_t(limit_) - std::min<uint64_t>(written_, uint64_t(limit_)));
        limited = true;
    }
    while (size > 0) {
        const ssize_t n = ::write(fd_, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            error_ = errno;
            return false;
        }
        if (n == 0) {
            error_ = ENOSPC;
            return false;
        }
        data += n;
        size -= size_t(n);
        written_ += uint64_t(n);
    }
    if (limited) {
        error_ = ENOSPC;
        return false;
    }
    return true;
}

} // namespace zb
