#include "imaging/ConvertDib.h"

#include <cstring>
#include <utility>

namespace zb {

bool ConvertDib(DibPicture& owner, int targetBits) {
    const TDibRecord& picture = owner.dib();
    if (!picture.Bits || !picture.Info) return false;
    const int bits = DibBitCount(picture);
    if (bits == targetBits) return true;
    if (targetBits != 24 || (bits != 1 && bits != 4 && bits != 8)) return false;

    const int w = DibWidth(picture);
    const int h = DibHeight(picture);
    DibPicture converted(w, h, 24);
    if (converted.dib().Storage == 0) return false;
    const TDibRecord& t = converted.dib();

    // Blue, green, red per index, from LogPalette (not the info block's table).
    uint8_t lut[256][3];
    for (int i = 0; i < 256; ++i) {
        const TPaletteEntry& e = picture.LogPalette.palPalEntry[i];
        lut[i][0] = e.peBlue;
        lut[i][1] = e.peGreen;
        lut[i][2] = e.peRed;
    }
    if (bits == 1) {
        std::memset(lut[0], 0, 3);
        std::memset(lut[1], 255, 3);
    }

    for (int y = 0; y < h; ++y) {
        const uint8_t* src = picture.Bits + ptrdiff_t(y) * picture.BytesPerLine;
        uint8_t* dst = t.Bits + ptrdiff_t(y) * t.BytesPerLine;
        switch (bits) {
        case 1:
            for (int x = 0; x < w; ++x, dst += 3)
                std::memcpy(dst, lut[(src[x >> 3] >> (7 - (x & 7))) & 1], 3);
            break;
        case 4:
            for (int x = 0; x < w; ++x, dst += 3) {
                const uint8_t b = src[x >> 1];
                std::memcpy(dst, lut[(x & 1) ? (b & 0x0F) : (b >> 4)], 3);
            }
            break;
        default:
            for (int x = 0; x < w; ++x, dst += 3) std::memcpy(dst, lut[src[x]], 3);
            break;
        }
    }
    owner = std::move(converted);
    return true;
}

} // namespace zb
