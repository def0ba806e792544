#include "output/DescriptorDevice.h"

#include <algorithm>
#include <cerrno>
#include <unistd.h>

namespace zb {

DescriptorDevice::DescriptorDevice(int fd, QObject* parent) : QIODevice(parent), fd_(fd) {}

qint64 DescriptorDevice::size() const { return end_; }

qint64 DescriptorDevice::readData(char* data, qint64 maxSize) {
    qint64 done = 0;
    while (done < maxSize) {
        const ssize_t n = ::pread(fd_, data + done, size_t(maxSize - done), off_t(pos() + done));
        if (n < 0) {
            if (errno == EINTR) continue;
            if (!error_) error_ = errno;
            return done > 0 ? done : -1;
        }
        if (n == 0) break;
        done += n;
    }
    return done;
}

qint64 DescriptorDevice::writeData(const char* data, qint64 size) {
    if (error_) return size;
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::pwrite(fd_, data + done, size_t(size - done), off_t(pos() + done));
        if (n < 0) {
            if (errno == EINTR) continue;
            error_ = errno;
            return size;
        }
        if (n == 0) {
            error_ = ENOSPC;
            return size;
        }
        done += n;
    }
    end_ = std::max(end_, pos() + size);
    return size;
}

} // namespace zb
