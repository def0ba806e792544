#pragma once
// Builds BMP files byte by byte, for depths and compressions Qt does not
// write itself: 1, 4 and 8 bits with a colour table, RLE4, RLE8 and 32 bits.
#include <cstdint>
#include <functional>
#include <vector>

namespace zb::test {

enum class BmpCompression { None = 0, Rle8 = 1, Rle4 = 2 };

class BmpWriter {
public:
    // value(x, y) with y counted from the top: an index for 1/4/8 bits, a
    // colour 0xRRGGBB for 24/32 bits. `palette` holds 0xRRGGBB entries.
    static std::vector<uint8_t> Build(int width, int height, int bits, const std::vector<uint32_t>& palette,
                                      const std::function<uint32_t(int x, int y)>& value,
                                      BmpCompression compression = BmpCompression::None) {
        std::vector<uint8_t> pixels;
        for (int row = height - 1; row >= 0; --row) { // stored bottom-up
            std::vector<uint32_t> line(static_cast<size_t>(width));
            for (int x = 0; x < width; ++x) line[size_t(x)] = value(x, row);
            if (compression == BmpCompression::Rle8) EncodeRle8(line, pixels);
            else if (compression == BmpCompression::Rle4) EncodeRle4(line, pixels);
            else PackRow(line, bits, pixels);
        }
        if (compression != BmpCompression::None) {
            pixels.push_back(0); // end of bitmap
            pixels.push_back(1);
        }
        std::vector<uint8_t> out;
        const uint32_t offset = 14 + 40 + 4 * uint32_t(palette.size());
        out.push_back('B');
        out.push_back('M');
        Put32(out, offset + uint32_t(pixels.size()));
        Put32(out, 0);
        Put32(out, offset);
        Put32(out, 40);
        Put32(out, uint32_t(width));
        Put32(out, uint32_t(height));
        Put16(out, 1);
        Put16(out, uint16_t(bits));
        Put32(out, uint32_t(compression));
        Put32(out, uint32_t(pixels.size()));
        Put32(out, 2835);
        Put32(out, 2835);
        Put32(out, uint32_t(palette.size()));
        Put32(out, 0);
        for (uint32_t c : palette) {
            out.push_back(uint8_t(c));
            out.push_back(uint8_t(c >> 8));
            out.push_back(uint8_t(c >> 16));
            out.push_back(0);
        }
        out.insert(out.end(), pixels.begin(), pixels.end());
        return out;
    }

private:
    static void Put16(std::vector<uint8_t>& o, uint16_t v) {
        o.push_back(uint8_t(v));
        o.push_back(uint8_t(v >> 8));
    }
    static void Put32(std::vector<uint8_t>& o, uint32_t v) {
        Put16(o, uint16_t(v));
        Put16(o, uint16_t(v >> 16));
    }

    static void PackRow(const std::vector<uint32_t>& line, int bits, std::vector<uint8_t>& o) {
        const size_t start = o.size();
        const size_t rowBytes = (line.size() * size_t(bits) + 31) / 32 * 4;
        o.resize(start + rowBytes, 0);
        uint8_t* row = o.data() + start;
        for (size_t x = 0; x < line.size(); ++x) {
            const uint32_t v = line[x];
            switch (bits) {
            case 1: row[x / 8] |= uint8_t((v & 1) << (7 - x % 8)); break;
            case 4: row[x / 2] |= uint8_t((x % 2) ? (v & 15) : ((v & 15) << 4)); break;
            case 8: row[x] = uint8_t(v); break;
            default: {
                const size_t bpp = size_t(bits) / 8;
                row[x * bpp] = uint8_t(v);
                row[x * bpp + 1] = uint8_t(v >> 8);
                row[x * bpp + 2] = uint8_t(v >> 16);
                if (bpp == 4) row[x * bpp + 3] = 0xFF;
            }
            }
        }
    }

    // Runs of two or more go in encoded mode, stretches of at least three
    // single pixels in absolute mode (padded to a 16-bit boundary).
    static size_t RunLength(const std::vector<uint32_t>& line, size_t x) {
        size_t n = 1;
        while (x + n < line.size() && line[x + n] == line[x] && n < 255) ++n;
        return n;
    }
    static size_t LiteralLength(const std::vector<uint32_t>& line, size_t x) {
        size_t n = 0;
        while (x + n < line.size() && RunLength(line, x + n) == 1 && n < 255) ++n;
        return n;
    }

    static void EncodeRle8(const std::vector<uint32_t>& line, std::vector<uint8_t>& o) {
        for (size_t x = 0; x < line.size();) {
            const size_t literal = LiteralLength(line, x);
            if (literal >= 3) {
                o.push_back(0);
                o.push_back(uint8_t(literal));
                for (size_t i = 0; i < literal; ++i) o.push_back(uint8_t(line[x + i]));
                if (literal % 2) o.push_back(0);
                x += literal;
            } else {
                const size_t run = RunLength(line, x);
                o.push_back(uint8_t(run));
                o.push_back(uint8_t(line[x]));
                x += run;
            }
        }
        o.push_back(0); // end of line
        o.push_back(0);
    }

    static void EncodeRle4(const std::vector<uint32_t>& line, std::vector<uint8_t>& o) {
        for (size_t x = 0; x < line.size();) {
            const size_t literal = LiteralLength(line, x);
            if (literal >= 3) {
                o.push_back(0);
                o.push_back(uint8_t(literal));
                const size_t bytes = (literal + 1) / 2;
                for (size_t i = 0; i < bytes; ++i) {
                    const uint8_t hi = uint8_t(line[x + 2 * i] & 15);
                    const uint8_t lo = 2 * i + 1 < literal ? uint8_t(line[x + 2 * i + 1] & 15) : 0;
                    o.push_back(uint8_t(hi << 4 | lo));
                }
                if (bytes % 2) o.push_back(0);
                x += literal;
            } else {
                const size_t run = RunLength(line, x);
                o.push_back(uint8_t(run));
                o.push_back(uint8_t((line[x] & 15) << 4 | (line[x] & 15)));
                x += run;
            }
        }
        o.push_back(0);
        o.push_back(0);
    }
};

} // namespace zb::test
