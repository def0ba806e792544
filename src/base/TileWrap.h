#pragma once
// Where the copies of a repeat tile lie. A seamless sheet is one tile of a
// plane covered with copies of it: tile column c starts at x = c * width and
// lies c * drop rows lower than column 0 (drop 0: a straight repeat; half the
// height: the half-drop repeat). In the mirrored repeat (drop 0) every other
// column of copies is mirrored left to right and every other row top to
// bottom, so each edge meets the tile's own mirror image. Generators draw
// every shape at each place where one of its copies reaches the tile (a
// mirrored copy mirrored), and filters read the plane instead of replicating
// the tile's edges.
//
// A default TileWrap (width 0) is no wrap: things are drawn once and cut at
// the edges.
#include <algorithm>
#include <cstdlib>
#include <cstdint>

namespace zb {

// Where one copy of a shape lands in the tile's coordinates: tile x becomes
// dx + x, or dx - x in a copy mirrored left to right (likewise down).
struct TileCopy {
    int64_t dx = 0;
    int64_t dy = 0;
    bool flipX = false;
    bool flipY = false;

    int64_t X(int64_t x) const { return flipX ? dx - x : dx + x; }
    int64_t Y(int64_t y) const { return flipY ? dy - y : dy + y; }
    // The left column and top row of the copy of the box x0 .. x1, y0 .. y1.
    int64_t Left(int64_t x0, int64_t x1) const { return flipX ? dx - x1 : dx + x0; }
    int64_t Top(int64_t y0, int64_t y1) const { return flipY ? dy - y1 : dy + y0; }
};

struct TileWrap {
    int width = 0;
    int height = 0;
    int drop = 0;        // 0 .. height - 1
    bool mirror = false; // every other copy mirrored (drop is 0 then)

    bool On() const { return width > 0 && height > 0; }

    // Copies per direction beyond which a shape is drawn only so often: only
    // a shape a thousand times the tile's size could ask for more.
    static constexpr int64_t kMaxCopies = 1024;

    // The tile pixel that plane pixel (x, y) shows.
    void Map(int64_t x, int64_t y, int& tx, int& ty) const {
        const int64_t c = FloorDiv(x, width);
        tx = int(x - c * width);
        if (!mirror) {
            ty = int(Mod(y - c * drop, height));
            return;
        }
        const int64_t r = FloorDiv(y, height);
        ty = int(y - r * height);
        if (c % 2 != 0) tx = width - 1 - tx;
        if (r % 2 != 0) ty = height - 1 - ty;
    }

    // Calls f(TileCopy) for every copy of the box x0 .. x1, y0 .. y1
    // (inclusive, tile coordinates) that reaches the tile; without wrap once,
    // for the box where it is.
    template <class F>
    void ForEachCopy(int64_t x0, int64_t y0, int64_t x1, int64_t y1, F&& f) const {
        if (!On()) {
            f(TileCopy{});
            return;
        }
        if (mirror) {
            // Copy c of a column (or row) lies at c * size, mirrored when c is
            // odd: the copies that reach the tile lie as far from it on
            // either side as the box itself.
            const auto along = [](int64_t a0, int64_t a1, int size, auto&& each) {
                const int64_t reach = std::min(
                    std::max(std::abs(FloorDiv(a0, size)), std::abs(FloorDiv(a1, size))) + 1, kMaxCopies);
                for (int64_t c = -reach; c <= reach; ++c) {
                    const bool flip = c % 2 != 0;
                    const int64_t d = flip ? (c + 1) * size - 1 : c * size;
                    const int64_t lo = flip ? d - a1 : d + a0, hi = flip ? d - a0 : d + a1;
                    if (hi >= 0 && lo <= size - 1) each(d, flip);
                }
            };
            along(x0, x1, width, [&](int64_t dx, bool flipX) {
                along(y0, y1, height, [&](int64_t dy, bool flipY) { f(TileCopy{dx, dy, flipX, flipY}); });
            });
            return;
        }
        const int64_t c0 = -FloorDiv(x1, width);
        const int64_t c1 = std::min(FloorDiv(width - 1 - x0, width), c0 + kMaxCopies - 1);
        for (int64_t c = c0; c <= c1; ++c) {
            const int64_t shift = Mod(c * drop, height);
            const int64_t k0 = -FloorDiv(y1 + shift, height);
            const int64_t k1 = std::min(FloorDiv(height - 1 - y0 - shift, height), k0 + kMaxCopies - 1);
            for (int64_t k = k0; k <= k1; ++k) f(TileCopy{c * width, shift + k * height});
        }
    }

    static int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }
    static int64_t Mod(int64_t a, int64_t b) { return a - FloorDiv(a, b) * b; }
};

} // namespace zb
