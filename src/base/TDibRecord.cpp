#include "base/TDibRecord.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

namespace zb {

int64_t DibRowBytes(int64_t width, int bitCount) {
    if (width <= 0 || bitCount <= 0) return -1;
    const int64_t bytes = ((width * bitCount + 31) / 32) * 4;
    if (bytes > INT32_MAX) return -1;
    return bytes;
}

int DibTableSize(int bitCount) {
    return (bitCount == 1 || bitCount == 4 || bitCount == 8) ? (1 << bitCount) : 0;
}

int DibInfoSize(int bitCount) {
    return int(sizeof(TBitmapInfoHeader)) + 4 * DibTableSize(bitCount);
}

int DibWidth(const TDibRecord& dib) { return dib.Info ? dib.Info->biWidth : 0; }
int DibHeight(const TDibRecord& dib) { return dib.Info ? dib.Info->biHeight : 0; }
int DibBitCount(const TDibRecord& dib) { return dib.Info ? dib.Info->biBitCount : 0; }

int64_t DibColorCount(const TDibRecord& dib) {
    if (!dib.Info) return 0;
    return int64_t{1} << dib.Info->biBitCount;
}

TRgbQuad* DibColorTable(const TDibRecord& dib) {
    if (!dib.Info) return nullptr;
    return reinterpret_cast<TRgbQuad*>(reinterpret_cast<uint8_t*>(dib.Info) + sizeof(TBitmapInfoHeader));
}

uint32_t getpixel(const TDibRecord& dib, int x, int y) {
    if (!dib.Bits || !dib.Info || x < 0 || y < 0 || x >= DibWidth(dib) || y >= DibHeight(dib)) return 0;
    const uint8_t* row = dib.Bits + int64_t(y) * dib.BytesPerLine;
    switch (DibBitCount(dib)) {
    case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1u;
    case 4: return (x & 1) ? (row[x >> 1] & 0x0Fu) : (row[x >> 1] >> 4);
    case 8: return row[x];
    case 16: return uint32_t(row[2 * x]) | (uint32_t(row[2 * x + 1]) << 8);
    case 24:
    case 32: {
        const int bpp = DibBitCount(dib) / 8;
        const uint8_t* p = row + int64_t(x) * bpp;
        return RGBColor(p[2], p[1], p[0]);
    }
    default: return 0;
    }
}

void setpixel(TDibRecord& dib, int x, int y, uint32_t value) {
    if (!dib.Bits || !dib.Info || x < 0 || y < 0 || x >= DibWidth(dib) || y >= DibHeight(dib)) return;
    uint8_t* row = dib.Bits + int64_t(y) * dib.BytesPerLine;
    switch (DibBitCount(dib)) {
    case 1: {
        const uint8_t mask = uint8_t(0x80u >> (x & 7));
        if (value & 1u) row[x >> 3] |= mask;
        else row[x >> 3] &= uint8_t(~mask);
        break;
    }
    case 4: {
        uint8_t& b = row[x >> 1];
        if (x & 1) b = uint8_t((b & 0xF0) | (value & 0x0F));
        else b = uint8_t((b & 0x0F) | ((value & 0x0F) << 4));
        break;
    }
    case 8: row[x] = uint8_t(value); break;
    case 16:
        row[2 * x] = uint8_t(value);
        row[2 * x + 1] = uint8_t(value >> 8);
        break;
    case 24:
    case 32: {
        const int bpp = DibBitCount(dib) / 8;
        uint8_t* p = row + int64_t(x) * bpp;
        p[0] = BlueOf(value);
        p[1] = GreenOf(value);
        p[2] = RedOf(value);
        break;
    }
    default: break;
    }
}

std::string DibMessage(const TDibRecord& dib) {
    const auto* text = reinterpret_cast<const char*>(dib.LogPalette.palPalEntry);
    return std::string(text, strnlen(text, sizeof(dib.LogPalette.palPalEntry)));
}

void SetDibMessage(TDibRecord& dib, const std::string& message) {
    auto* text = reinterpret_cast<char*>(dib.LogPalette.palPalEntry);
    const size_t n = std::min(message.size(), sizeof(dib.LogPalette.palPalEntry) - 1);
    std::memcpy(text, message.data(), n);
    text[n] = '\0';
}

} // namespace zb
