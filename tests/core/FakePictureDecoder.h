#pragma once
// A picture decoder for core tests: hands out prepared decoded pictures by
// file name, and builds such pictures from a pixel function.
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "imaging/PictureDecoder.h"

namespace zb::test {

inline constexpr const char* kFakeUnknownMessage = "Das Dateiformat wird nicht erkannt.";

class FakePictureDecoder : public PictureDecoder {
public:
    // Pictures by file name (the last path component).
    std::map<std::string, DecodedPicture> pictures;
    std::vector<PictureFormat> formats;
    mutable std::vector<std::string> asked;

    DecodedPicture DecodeFile(const std::string& path) const override {
        const std::string name = std::filesystem::path(path).filename().string();
        asked.push_back(name);
        auto it = pictures.find(name);
        if (it != pictures.end()) return it->second;
        DecodedPicture failed;
        failed.error = kFakeUnknownMessage;
        return failed;
    }
    DecodedPicture DecodeBytes(const uint8_t* data, size_t size) const override {
        return DecodeFile(std::string(reinterpret_cast<const char*>(data), size));
    }
    std::vector<PictureFormat> Formats() const override { return formats; }
};

// A decoded picture of `bits` (1, 4, 8: value = index; 24: value = colour
// reference), rows `extra` bytes longer than needed so stride mistakes show.
inline DecodedPicture MakeDecoded(int width, int height, int bits, std::vector<uint32_t> palette,
                                  const std::function<uint32_t(int x, int y)>& value, int extra = 3) {
    DecodedPicture p;
    p.width = width;
    p.height = height;
    p.bitCount = bits;
    p.palette = std::move(palette);
    p.format = "TEST";
    p.stride = (ptrdiff_t(width) * bits + 7) / 8 + extra;
    p.pixels.assign(size_t(p.stride) * size_t(height), 0xEE);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = p.pixels.data() + y * p.stride;
        for (int x = 0; x < width; ++x) {
            const uint32_t v = value(x, y);
            switch (bits) {
            case 1: {
                const uint8_t mask = uint8_t(0x80u >> (x & 7));
                row[x >> 3] = (v & 1) ? uint8_t(row[x >> 3] | mask) : uint8_t(row[x >> 3] & ~mask);
                break;
            }
            case 4:
                row[x >> 1] = (x & 1) ? uint8_t((row[x >> 1] & 0xF0) | (v & 0x0F))
                                      : uint8_t((row[x >> 1] & 0x0F) | ((v & 0x0F) << 4));
                break;
            case 8: row[x] = uint8_t(v); break;
            default:
                row[3 * x] = uint8_t(v >> 16);
                row[3 * x + 1] = uint8_t(v >> 8);
                row[3 * x + 2] = uint8_t(v);
                break;
            }
        }
    }
    return p;
}

} // namespace zb::test
