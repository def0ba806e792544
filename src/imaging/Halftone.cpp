#include "imaging/Halftone.h"

#include <cstring>
#include <new>
#include <vector>

namespace zb {

namespace {

// Classic 8 x 8 ordered-dither matrix, values 0 .. 63.
constexpr uint8_t kBayer8[8][8] = {
    {0, 32, 8, 40, 2, 34, 10, 42},  {48, 16, 56, 24, 50, 18, 58, 26},
    {12, 44, 4, 36, 14, 46, 6, 38}, {60, 28, 52, 20, 62, 30, 54, 22},
    {3, 35, 11, 43, 1, 33, 9, 41},  {51, 19, 59, 27, 49, 17, 57, 25},
    {15, 47, 7, 39, 13, 45, 5, 37}, {63, 31, 55, 23, 61, 29, 53, 21},
};

// Unpacks stored row y of any supported depth into blue, green, red bytes.
void RowToBgr(const TDibRecord& dib, int y, uint8_t* bgr) {
    const int w = DibWidth(dib);
    const uint8_t* row = dib.Bits + ptrdiff_t(y) * dib.BytesPerLine;
    const TPaletteEntry* pal = dib.LogPalette.palPalEntry;
    auto put = [&](int x, const TPaletteEntry& e) {
        bgr[3 * x] = e.peBlue;
        bgr[3 * x + 1] = e.peGreen;
        bgr[3 * x + 2] = e.peRed;
    };
    switch (DibBitCount(dib)) {
    case 1:
        for (int x = 0; x < w; ++x) put(x, pal[(row[x >> 3] >> (7 - (x & 7))) & 1]);
        break;
    case 4:
        for (int x = 0; x < w; ++x) put(x, pal[(x & 1) ? (row[x >> 1] & 0x0F) : (row[x >> 1] >> 4)]);
        break;
    case 8:
        for (int x = 0; x < w; ++x) put(x, pal[row[x]]);
        break;
    case 16:
        for (int x = 0; x < w; ++x) {
            const unsigned v = unsigned(row[2 * x]) | (unsigned(row[2 * x + 1]) << 8);
            const unsigned r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
            bgr[3 * x] = uint8_t((b << 3) | (b >> 2));
            bgr[3 * x + 1] = uint8_t((g << 3) | (g >> 2));
            bgr[3 * x + 2] = uint8_t((r << 3) | (r >> 2));
        }
        break;
    case 24: std::memcpy(bgr, row, size_t(w) * 3); break;
    case 32:
        for (int x = 0; x < w; ++x) std::memcpy(bgr + 3 * x, row + 4 * x, 3);
        break;
    default: std::memset(bgr, 0, size_t(w) * 3); break;
    }
}

// Level 0 .. 5 of channel value v at dither threshold t (0 .. 63): the
// fraction of v between two levels decides against (t + 0.5) / 64.
inline int DitherLevel(unsigned v, unsigned t) {
    const unsigned s = v * 5 * 64;
    const unsigned level = s / (255 * 64);
    const unsigned rem = s % (255 * 64);
    return int(level + (2 * rem > (2 * t + 1) * 255 ? 1 : 0));
}

bool Supported(int bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

} // namespace

bool DIBHalftoneDIBXY(DibPicture& picture, const TDibRecord& source, int newWidth, int newHeight) {
    picture.reset();
    if (!source.Bits || !source.Info || newWidth <= 0 || newHeight <= 0) return false;
    const int sw = DibWidth(source);
    const int sh = DibHeight(source);
    if (sw <= 0 || sh <= 0 || !Supported(DibBitCount(source))) return false;

    std::vector<uint8_t> bgr;
    std::vector<int> columnOf;
    try {
        bgr.resize(size_t(sw) * 3);
        columnOf.resize(size_t(newWidth));
    } catch (const std::bad_alloc&) {
        return false;
    }
    picture = DibPicture(newWidth, newHeight, 8);
    if (picture.empty()) return false;
    TDibRecord& out = picture.dib();

    TRgbQuad* table = DibColorTable(out);
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b) {
                const int i = HalftoneCubeIndex(r, g, b);
                table[i] = {uint8_t(51 * b), uint8_t(51 * g), uint8_t(51 * r), 0};
                out.LogPalette.palPalEntry[i] = {uint8_t(51 * r), uint8_t(51 * g), uint8_t(51 * b), 0};
            }

    // Nearest neighbour through pixel centres, in top-down picture coordinates.
    for (int x = 0; x < newWidth; ++x) columnOf[size_t(x)] = int(((2 * int64_t(x) + 1) * sw) / (2 * int64_t(newWidth)));
    int loadedRow = -1;
    for (int ty = 0; ty < newHeight; ++ty) {
        const int sy = int(((2 * int64_t(ty) + 1) * sh) / (2 * int64_t(newHeight)));
        const int storedSource = sh - 1 - sy;
        if (storedSource != loadedRow) {
            RowToBgr(source, storedSource, bgr.data());
            loadedRow = storedSource;
        }
        uint8_t* dst = out.Bits + ptrdiff_t(newHeight - 1 - ty) * out.BytesPerLine;
        const uint8_t* bayerRow = kBayer8[ty & 7];
        for (int x = 0; x < newWidth; ++x) {
            const uint8_t* p = bgr.data() + 3 * columnOf[size_t(x)];
            const unsigned t = bayerRow[x & 7];
            dst[x] = uint8_t(HalftoneCubeIndex(DitherLevel(p[2], t), DitherLevel(p[1], t), DitherLevel(p[0], t)));
        }
    }
    return true;
}

bool DIBHalftoneDIB(DibPicture& out, const TDibRecord& source) {
    if (!source.Bits || !source.Info) {
        out.reset();
        return false;
    }
    return DIBHalftoneDIBXY(out, source, DibWidth(source), DibHeight(source));
}

} // namespace zb
