#pragma once
// A ByteSink on an open file descriptor, with a buffer for the small fields.
// Blocks at least as large as the buffer (pixel rows) go to the file in one
// write, without passing through the buffer.
//
// Ownership: the descriptor belongs to the caller; FileSink never closes it.
// Call Flush() before the descriptor is synced or closed.
#include <cstdint>
#include <memory>

#include "document/ByteSink.h"

namespace zb {

class FileSink : public ByteSink {
public:
    explicit FileSink(int fd);
    FileSink(const FileSink&) = delete;
    FileSink& operator=(const FileSink&) = delete;

    bool Write(const void* data, size_t size) override;
    int Error() const override { return error_; }
    // Writes out what the buffer holds.
    bool Flush();
    // Bytes handed to the file so far (not counting the buffer).
    uint64_t Written() const { return written_; }

    // For tests of failed saves: the file takes at most `bytes` bytes, then
    // writes fail as on a full disk. A negative value means no limit.
    void SetByteLimit(int64_t bytes) { limit_ = bytes; }

    static constexpr size_t kBufferSize = 64 * 1024;

private:
    bool WriteOut(const uint8_t* data, size_t size);

    int fd_;
    int error_ = 0;
    uint64_t written_ = 0;
    int64_t limit_ = -1;
    std::unique_ptr<uint8_t[]> buffer_;
    size_t used_ = 0;
};

} // namespace zb
