#pragma once
// A 24-bit raster for the benchmarks, laid out like a DIB: rows padded to 4
// bytes, stored bottom-up and viewed top-down through a negative stride.
// White, or random bytes from a fixed seed.
#include <cstdint>
#include <random>
#include <vector>

#include "base/RasterView.h"

namespace zb::bench {

class BenchRaster {
public:
    enum class Fill { White, Random };
    BenchRaster(int width, int height, Fill fill = Fill::White)
        : stride_((ptrdiff_t(width) * 3 + 3) / 4 * 4), bytes_(size_t(stride_) * size_t(height), 255) {
        if (fill == Fill::Random) {
            std::mt19937 rng(20261207);
            for (uint8_t& b : bytes_) b = uint8_t(rng());
        }
        view_ = RasterView{bytes_.data() + stride_ * (height - 1), -stride_, width, height};
    }
    RasterView view() const { return view_; }

private:
    ptrdiff_t stride_;
    std::vector<uint8_t> bytes_;
    RasterView view_;
};

} // namespace zb::bench
