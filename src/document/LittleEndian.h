#pragma once
// Little-endian field access on byte buffers. Design files are read and
// written field by field through these, never by copying a C++ struct, so the
// format does not depend on the compiler's layout or the machine's byte order.
#include <bit>
#include <cstdint>
#include <cstring>

namespace zb::le {

inline void Put16(uint8_t* p, uint16_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}

inline void Put32(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v >> 16);
    p[3] = uint8_t(v >> 24);
}

inline void PutI32(uint8_t* p, int32_t v) { Put32(p, uint32_t(v)); }

inline void Put64(uint8_t* p, uint64_t v) {
    Put32(p, uint32_t(v));
    Put32(p + 4, uint32_t(v >> 32));
}

inline void PutDouble(uint8_t* p, double v) { Put64(p, std::bit_cast<uint64_t>(v)); }

inline uint16_t Get16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }

inline uint32_t Get32(const uint8_t* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

inline int32_t GetI32(const uint8_t* p) { return int32_t(Get32(p)); }

inline uint64_t Get64(const uint8_t* p) { return uint64_t(Get32(p)) | (uint64_t(Get32(p + 4)) << 32); }

inline double GetDouble(const uint8_t* p) { return std::bit_cast<double>(Get64(p)); }

} // namespace zb::le
