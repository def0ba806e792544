#pragma once
// Where the copies of a repeat tile lie. A seamless sheet is one tile of a
// plane covered with copies of it: tile column c starts at x = c * width and
// lies c * drop rows lower than column 0 (drop 0: a straight repeat; half the
// height: the half-drop repeat). Generators draw every shape at each place
// where one of its copies reaches the tile, and filters read the plane instead
// of replicating the tile's edges.
//
// A default TileWrap (width 0) is no wrap: things are drawn once and cut at
// the edges.
#include <algorithm>
#include <cstdint>

namespace zb {

struct TileWrap {
    int width = 0;
    int height = 0;
    int drop = 0; // 0 .. height - 1

    bool On() const { return width > 0 && height > 0; }

    // Copies per direction beyond which a shape is drawn only so often: only
    // a shape a thousand times the tile's size could ask for more.
    static constexpr int64_t kMaxCopies = 1024;

    // The tile pixel that plane pixel (x, y) shows.
    void Map(int64_t x, int64_t y, int& tx, int& ty) const {
        const int64_t c = FloorDiv(x, width);
        tx = int(x - c * width);
        ty = int(Mod(y - c * drop, height));
    }

    // Calls f(dx, dy) for every offset at which the copy of the box
    // x0 .. x1, y0 .. y1 (inclusive, tile coordinates) reaches the tile;
    // without wrap f(0, 0) once.
    template <class F>
    void ForEachCopy(int64_t x0, int64_t y0, int64_t x1, int64_t y1, F&& f) const {
        if (!On()) {
            f(int64_t{0}, int64_t{0});
            return;
        }
        const int64_t c0 = -FloorDiv(x1, width);
        const int64_t c1 = std::min(FloorDiv(width - 1 - x0, width), c0 + kMaxCopies - 1);
        for (int64_t c = c0; c <= c1; ++c) {
            const int64_t shift = Mod(c * drop, height);
            const int64_t k0 = -FloorDiv(y1 + shift, height);
            const int64_t k1 = std::min(FloorDiv(height - 1 - y0 - shift, height), k0 + kMaxCopies - 1);
            for (int64_t k = k0; k <= k1; ++k) f(c * width, shift + k * height);
        }
    }

    static int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }
    static int64_t Mod(int64_t a, int64_t b) { return a - FloorDiv(a, b) * b; }
};

} // namespace zb
