#pragma once
// Builds small GIF files byte by byte (Qt reads GIF but does not write it).
// The LZW stream holds only literal codes, with a clear code often enough
// that the code width never grows: valid, simply not compressed.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace zb::test {

class GifWriter {
public:
    // value(x, y): palette index; palette entries 0xRRGGBB (2 .. 256 of them).
    // transparentIndex < 0: no transparency.
    static std::vector<uint8_t> Build(int width, int height, const std::vector<uint32_t>& palette,
                                      const std::function<uint32_t(int x, int y)>& value, int transparentIndex = -1) {
        int sizeField = 0;
        while ((2u << sizeField) < palette.size()) ++sizeField;
        const int tableEntries = 2 << sizeField;
        std::vector<uint8_t> o = {'G', 'I', 'F', '8', '9', 'a'};
        Put16(o, uint16_t(width));
        Put16(o, uint16_t(height));
        o.push_back(uint8_t(0x80 | 0x70 | sizeField));
        o.push_back(0);
        o.push_back(0);
        for (int i = 0; i < tableEntries; ++i) {
            const uint32_t c = size_t(i) < palette.size() ? palette[size_t(i)] : 0;
            o.push_back(uint8_t(c >> 16));
            o.push_back(uint8_t(c >> 8));
            o.push_back(uint8_t(c));
        }
        if (transparentIndex >= 0) {
            const uint8_t gce[] = {0x21, 0xF9, 0x04, 0x01, 0, 0, uint8_t(transparentIndex), 0};
            o.insert(o.end(), gce, gce + sizeof gce);
        }
        o.push_back(0x2C);
        Put16(o, 0);
        Put16(o, 0);
        Put16(o, uint16_t(width));
        Put16(o, uint16_t(height));
        o.push_back(0);

        const int minCode = std::max(2, sizeField + 1);
        const uint32_t clear = 1u << minCode;
        const int codeWidth = minCode + 1;
        const int perClear = (1 << minCode) - 2;
        std::vector<uint8_t> lzw;
        uint32_t acc = 0;
        int accBits = 0;
        auto putCode = [&](uint32_t code) {
            acc |= code << accBits;
            accBits += codeWidth;
            while (accBits >= 8) {
                lzw.push_back(uint8_t(acc));
                acc >>= 8;
                accBits -= 8;
            }
        };
        int sinceClear = perClear;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                if (sinceClear == perClear) {
                    putCode(clear);
                    sinceClear = 0;
                }
                putCode(value(x, y));
                ++sinceClear;
            }
        putCode(clear + 1); // end of information
        if (accBits > 0) lzw.push_back(uint8_t(acc));

        o.push_back(uint8_t(minCode));
        for (size_t i = 0; i < lzw.size(); i += 255) {
            const size_t n = std::min<size_t>(255, lzw.size() - i);
            o.push_back(uint8_t(n));
            o.insert(o.end(), lzw.begin() + ptrdiff_t(i), lzw.begin() + ptrdiff_t(i + n));
        }
        o.push_back(0);
        o.push_back(0x3B);
        return o;
    }

private:
    static void Put16(std::vector<uint8_t>& o, uint16_t v) {
        o.push_back(uint8_t(v));
        o.push_back(uint8_t(v >> 8));
    }
};

} // namespace zb::test
