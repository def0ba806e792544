#pragma once
// Where a design is written to. The writer only ever sees this interface, so
// tests can hand it a sink that fails at any byte.
#include <cstddef>

namespace zb {

class ByteSink {
public:
    virtual ~ByteSink() = default;
    // Writes all `size` bytes, or returns false (Error() then says why).
    virtual bool Write(const void* data, size_t size) = 0;
    // errno-style code of the first failure; 0 while nothing failed.
    virtual int Error() const = 0;
};

} // namespace zb
