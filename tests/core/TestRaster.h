#pragma once
// Rasters for tests: allocated with extra padding at the end of every row, so a
// kernel that assumes stride == width * 3 reads or writes the wrong pixels.
#include <cstdint>
#include <random>
#include <vector>

#include "base/RasterView.h"

namespace zb::test {

class TestRaster {
public:
    TestRaster(int width, int height, int padding = 13)
        : stride_(ptrdiff_t(width) * 3 + padding), bytes_(size_t(stride_) * size_t(height), 0xCD) {
        view_ = RasterView{bytes_.data(), stride_, width, height};
    }
    RasterView view() const { return view_; }
    void fillRandom(uint32_t seed) {
        std::mt19937 rng(seed);
        for (int y = 0; y < view_.height; ++y)
            for (int x = 0; x < view_.width * 3; ++x) view_.row(y)[x] = uint8_t(rng());
    }
    // True when the padding bytes still hold their fill value.
    bool paddingIntact() const {
        for (int y = 0; y < view_.height; ++y)
            for (ptrdiff_t i = ptrdiff_t(view_.width) * 3; i < stride_; ++i)
                if (view_.row(y)[i] != 0xCD) return false;
        return true;
    }

private:
    ptrdiff_t stride_;
    std::vector<uint8_t> bytes_;
    RasterView view_;
};

// The pixels of a view row by row, without the padding: rasters compare equal
// when they show the same picture.
inline std::vector<uint8_t> PixelBytes(const RasterView& v) {
    std::vector<uint8_t> out;
    out.reserve(size_t(v.width) * 3 * size_t(v.height));
    for (int y = 0; y < v.height; ++y) out.insert(out.end(), v.row(y), v.row(y) + ptrdiff_t(v.width) * 3);
    return out;
}

} // namespace zb::test
