#include "model/Cp1252.h"

#include <array>

namespace zb {

namespace {

// 0x80 .. 0x9F; the rest of the set equals Latin-1. Undefined bytes keep their
// own value (C1 controls).
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(char(cp));
    } else if (cp < 0x800) {
        out.push_back(char(0xC0 | (cp >> 6)));
        out.push_back(char(0x80 | (cp & 0x3F)));
    } else {
        // Every code point of the set lies in the Basic Multilingual Plane.
        out.push_back(char(0xE0 | (cp >> 12)));
        out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(char(0x80 | (cp & 0x3F)));
    }
}

// Decodes one UTF-8 sequence at `pos` and advances past it. Returns false for
// an invalid sequence (overlong, surrogate, out of range, truncated), after
// advancing one byte, so decoding resynchronises at the next byte.
bool DecodeUtf8(std::string_view s, size_t& pos, char32_t& cp) {
    const auto b0 = uint8_t(s[pos]);
    if (b0 < 0x80) {
        cp = b0;
        ++pos;
        return true;
    }
    int len = 0;
    char32_t min = 0;
    if ((b0 & 0xE0) == 0xC0) {
        len = 2, cp = b0 & 0x1F, min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        len = 3, cp = b0 & 0x0F, min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        len = 4, cp = b0 & 0x07, min = 0x10000;
    } else {
        ++pos;
        return false;
    }
    if (pos + size_t(len) > s.size()) {
        ++pos;
        return false;
    }
    for (int i = 1; i < len; ++i) {
        const auto b = uint8_t(s[pos + size_t(i)]);
        if ((b & 0xC0) != 0x80) {
            ++pos;
            return false;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++pos;
        return false;
    }
    pos += size_t(len);
    return true;
}

} // namespace

char32_t Cp1252ToCodePoint(uint8_t byte) {
    if (byte >= 0x80 && byte < 0xA0) return kHigh[byte - 0x80];
    return byte;
}

int CodePointToCp1252(char32_t codePoint) {
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) return int(codePoint);
    for (size_t i = 0; i < kHigh.size(); ++i)
        if (kHigh[i] == codePoint) return int(0x80 + i);
    return -1;
}

std::string Cp1252ToUtf8(std::string_view cp1252) {
    std::string out;
    out.reserve(cp1252.size() + cp1252.size() / 4);
    for (char c : cp1252) AppendUtf8(out, Cp1252ToCodePoint(uint8_t(c)));
    return out;
}

std::string Utf8ToCp1252(std::string_view utf8, char replacement) {
    std::string out;
    out.reserve(utf8.size());
    size_t pos = 0;
    while (pos < utf8.size()) {
        char32_t cp = 0;
        const int byte = DecodeUtf8(utf8, pos, cp) ? CodePointToCp1252(cp) : -1;
        out.push_back(byte < 0 ? replacement : char(byte));
    }
    return out;
}

bool IsCp1252Representable(std::string_view utf8) {
    size_t pos = 0;
    while (pos < utf8.size()) {
        char32_t cp = 0;
        if (!DecodeUtf8(utf8, pos, cp) || CodePointToCp1252(cp) < 0) return false;
    }
    return true;
}

} // namespace zb
