#pragma once
// Where a design is read from: a sequence of bytes whose length is known before
// reading starts, so the reader can refuse a count or a size that the rest of
// the data cannot hold before it allocates anything for it.
#include <cstddef>
#include <cstdint>

namespace zb {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Reads exactly `size` bytes, or returns false when the data ends first or
    // a read fails (Error() tells the two apart).
    virtual bool Read(void* out, size_t size) = 0;
    // Bytes not yet read.
    virtual uint64_t Remaining() const = 0;
    // errno-style code of a failed read; 0 when reading failed only because the
    // data ended.
    virtual int Error() const = 0;
};

} // namespace zb
