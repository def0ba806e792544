#pragma once
// A random-access QIODevice on an open file descriptor, for picture and PDF
// encoders. Every write is checked; the first failure is kept as an errno
// value. After a failure further writes are dropped but reported as done, so
// the encoders do not print their own complaints (their libraries write to
// standard error); the caller asks Error() once the encoder is finished.
//
// Ownership: the descriptor stays the caller's; the device never closes it.
#include <QIODevice>

namespace zb {

class DescriptorDevice : public QIODevice {
public:
    explicit DescriptorDevice(int fd, QObject* parent = nullptr);

    bool isSequential() const override { return false; }
    qint64 size() const override;
    // errno of the first failed write or read; 0 while none failed.
    int Error() const { return error_; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    int fd_;
    int error_ = 0;
    qint64 end_ = 0; // bytes the file holds
};

} // namespace zb
