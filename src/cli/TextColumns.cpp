#include "cli/TextColumns.h"

#include <cstdint>

namespace zb::cli {

namespace {

int Columns(char32_t c) {
    if ((c >= 0x0300 && c <= 0x036F) || (c >= 0x200B && c <= 0x200F) || (c >= 0xFE20 && c <= 0xFE2F)) return 0;
    if ((c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3) ||
        (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
        (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x1F300 && c <= 0x1F64F) || (c >= 0x20000 && c <= 0x3FFFD))
        return 2;
    return 1;
}

} // namespace

size_t DisplayWidth(const std::string& utf8) {
    size_t width = 0;
    for (size_t i = 0; i < utf8.size();) {
        const uint8_t b = uint8_t(utf8[i]);
        const int length = b < 0x80 ? 1 : (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3 : (b & 0xF8) == 0xF0 ? 4 : 1;
        char32_t c = length == 1 ? b : char32_t(b & (0x7F >> length));
        size_t k = 1;
        for (; k < size_t(length) && i + k < utf8.size() && (uint8_t(utf8[i + k]) & 0xC0) == 0x80; ++k)
            c = (c << 6) | (uint8_t(utf8[i + k]) & 0x3F);
        width += size_t(Columns(c));
        i += k;
    }
    return width;
}

std::string PadRight(const std::string& utf8, size_t width) {
    const size_t w = DisplayWidth(utf8);
    return w >= width ? utf8 : utf8 + std::string(width - w, ' ');
}

std::string Counted(long n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

} // namespace zb::cli
