#pragma once
// A ByteSource on a file. The file's size is taken when it is opened; small
// fields are served from a buffer, large blocks (pixel rows) are read straight
// into their destination.
//
// Ownership: FileSource owns its descriptor and closes it on destruction.
#include <cstdint>
#include <memory>
#include <string>

#include "document/ByteSource.h"

namespace zb {

class FileSource : public ByteSource {
public:
    FileSource() = default;
    ~FileSource() override;
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    // Opens a regular file for reading. False (Error() set) when it cannot be
    // opened or is not a regular file; a pipe or device is refused rather than
    // waited on.
    bool Open(const std::string& path);

    bool Read(void* out, size_t size) override;
    uint64_t Remaining() const override { return size_ - consumed_; }
    int Error() const override { return error_; }

    static constexpr size_t kBufferSize = 64 * 1024;

private:
    bool ReadDirect(uint8_t* out, size_t size);

    int fd_ = -1;
    int error_ = 0;
    uint64_t size_ = 0;
    uint64_t consumed_ = 0;   // bytes handed to the reader
    std::unique_ptr<uint8_t[]> buffer_;
    size_t begin_ = 0;        // unread bytes of the buffer: begin_ .. end_
    size_t end_ = 0;
};

} // namespace zb
