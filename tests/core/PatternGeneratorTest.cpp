#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "TestRaster.h"
#include "TestSeed.h"
#include "render/PatternGenerator.h"

using zb::GeneratePattern;
using zb::PatternSizePx;
using zb::RandomInt;
using zb::RasterView;
using zb::TLayerRecord;
using zb::test::TestRaster;

namespace {

TLayerRecord PatternLayer(int shape, int colourMode, int sizeMode, int posMode, int count, double mm,
                          uint32_t colour = zb::RGBColor(200, 10, 20)) {
    TLayerRecord layer{};
    layer.Kind = zb::kKindPattern;
    layer.PatternShape = shape;
    layer.PatternColorMode = colourMode;
    layer.PatternSizeMode = sizeMode;
    layer.PatternPosMode = posMode;
    layer.PatternCount = count;
    layer.PatternSizeMM = mm;
    layer.PatternColor = colour;
    return layer;
}

// At 254 pixels per inch and 100 % a size of n / 10 mm is n pixels.
constexpr double kPpi254 = 254.0;
double MmForPx(int n) { return n / 10.0; }

void FillWhite(RasterView v) {
    for (int y = 0; y < v.height; ++y) std::memset(v.row(y), 255, size_t(v.width) * 3);
}

// All bytes of a view with positive stride, padding included.
std::vector<uint8_t> Bytes(RasterView v) { return {v.data, v.data + v.strideBytes * v.height}; }

bool HasColour(RasterView v, int x, int y, uint8_t b, uint8_t g, uint8_t r) {
    const uint8_t* p = v.pixel(x, y);
    return p[0] == b && p[1] == g && p[2] == r;
}

// The plain definition, pixel by pixel: every pixel of the shape's bounding
// box (as far as it lies in the raster) is tested against the shape.
void ReferencePattern(RasterView raster, const TLayerRecord& layer, int64_t sizePx, RandomInt& rnd) {
    int64_t a = sizePx, b = sizePx;
    if (rnd(2) == 0)
        a = rnd(sizePx);
    else
        b = rnd(sizePx);
    if (layer.PatternCount < 1) return;
    const int64_t W = raster.width, H = raster.height;
    const int count = std::min(layer.PatternCount, zb::kMaxPatternCount);
    for (int i = 0; i < count; ++i) {
        int red = zb::RedOf(layer.PatternColor), green = zb::GreenOf(layer.PatternColor),
            blue = zb::BlueOf(layer.PatternColor);
        if (layer.PatternColorMode == 0) {
            red = rnd(256);
            green = rnd(256);
            blue = rnd(256);
        } else if (layer.PatternColorMode == 1) {
            const int k = rnd(50) + 51;
            red = red * k / 100;
            green = green * k / 100;
            blue = blue * k / 100;
        }
        int64_t M = layer.PatternSizeMode == 0 ? rnd(sizePx) + 1 : sizePx;
        if (M < 1) M = 1;
        int64_t x0, y0;
        if (layer.PatternPosMode == 0) {
            x0 = rnd(W + M) - M;
            y0 = rnd(H + M) - M;
        } else {
            x0 = ((rnd(W + M) - M) / M) * M;
            y0 = ((rnd(H + M) - M) / M) * M;
        }
        int64_t ra = a, rb = b;
        if (layer.PatternShape == 2 && layer.PatternSizeMode == 0) {
            ra = M;
            rb = M;
            if (rnd(2) == 0)
                ra = rnd(M);
            else
                rb = rnd(M);
        }
        int64_t bw = M, bh = M;
        switch (layer.PatternShape) {
        case 0: case 1: case 3: break;
        case 2: bw = rb; bh = ra; break;
        case 4: bw = M / 10; break;
        case 5: bh = M / 10; break;
        default: continue;
        }
        for (int64_t y = std::max<int64_t>(y0, 0); y <= std::min(y0 + bh, H - 1); ++y)
            for (int64_t x = std::max<int64_t>(x0, 0); x <= std::min(x0 + bw, W - 1); ++x) {
                bool in = true;
                if (layer.PatternShape == 0) {
                    const int64_t r = M / 2, dx = x - x0 - r, dy = y - y0 - r;
                    in = dx * dx + dy * dy <= r * r;
                } else if (layer.PatternShape == 1) {
                    const int64_t inset = ((M / 2) * (y - y0)) / M;
                    in = x >= x0 + inset && x <= x0 + M - inset;
                }
                if (!in) continue;
                uint8_t* p = raster.pixel(int(x), int(y));
                p[0] = uint8_t(blue);
                p[1] = uint8_t(green);
                p[2] = uint8_t(red);
            }
    }
}

// Size, corner and colour of the first shape of a layer started from `seed`,
// following the order of draws (layer extents, colour, size, x, y).
struct FirstShape {
    int64_t m, x0, y0;
    int red, green, blue;
};
FirstShape FirstShapeOf(uint32_t seed, const TLayerRecord& layer, int64_t sizePx, int64_t W, int64_t H) {
    RandomInt rnd(seed);
    rnd(2);
    rnd(sizePx);
    FirstShape s{0, 0, 0, -1, -1, -1};
    if (layer.PatternColorMode == 0) {
        s.red = rnd(256);
        s.green = rnd(256);
        s.blue = rnd(256);
    } else if (layer.PatternColorMode == 1) {
        rnd(50);
    }
    s.m = std::max<int64_t>(layer.PatternSizeMode == 0 ? rnd(sizePx) + 1 : sizePx, 1);
    s.x0 = rnd(W + s.m) - s.m;
    s.y0 = rnd(H + s.m) - s.m;
    if (layer.PatternPosMode != 0) {
        s.x0 = s.x0 / s.m * s.m;
        s.y0 = s.y0 / s.m * s.m;
    }
    return s;
}

struct Extent {
    int count = 0, minX = INT32_MAX, maxX = -1, minY = INT32_MAX, maxY = -1;
};
Extent ExtentOf(RasterView v, uint8_t b, uint8_t g, uint8_t r) {
    Extent e;
    for (int y = 0; y < v.height; ++y)
        for (int x = 0; x < v.width; ++x)
            if (HasColour(v, x, y, b, g, r)) {
                ++e.count;
                e.minX = std::min(e.minX, x);
                e.maxX = std::max(e.maxX, x);
                e.minY = std::min(e.minY, y);
                e.maxY = std::max(e.maxY, y);
            }
    return e;
}

} // namespace

TEST(PatternSize, TruncatesTheDocumentedFormula) {
    EXPECT_EQ(PatternSizePx(30, 96, 100), 113); // 113.386...
    EXPECT_EQ(PatternSizePx(30, 96, 30), 34);
    EXPECT_EQ(PatternSizePx(1, 96, 10), 0);
    // 25.39995 mm per inch, not 25.4: 99.9999 mm at 254 ppi is 1000.0008 pixels,
    // against 999.999 with 25.4.
    EXPECT_EQ(PatternSizePx(99.9999, 254, 100), 1000);
    EXPECT_EQ(PatternSizePx(100, 600, 300), 7086);
    EXPECT_EQ(PatternSizePx(-1, 96, 100), -3); // toward zero, not down
}

TEST(PatternSize, ValuesFromForeignFilesStayBounded) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(PatternSizePx(nan, 96, 100), 0);
    EXPECT_EQ(PatternSizePx(inf, 96, 100), zb::kMaxPatternSizePx);
    EXPECT_EQ(PatternSizePx(1e300, 96, 100), zb::kMaxPatternSizePx);
    EXPECT_EQ(PatternSizePx(-inf, 96, 100), -zb::kMaxPatternSizePx);
    EXPECT_EQ(PatternSizePx(0, inf, 100), 0); // 0 * inf is not a number
}

TEST(PatternGenerator, ThirtyMillimetreSquaresAre114PixelsWide) {
    TestRaster raster(400, 300);
    const TLayerRecord layer = PatternLayer(3, 2, 1, 0, 1, 30);
    int inside = 0;
    for (uint32_t seed = 1; inside < 5; ++seed) {
        const FirstShape s = FirstShapeOf(seed, layer, 113, 400, 300);
        if (s.x0 < 0 || s.y0 < 0 || s.x0 + 113 >= 400 || s.y0 + 113 >= 300) continue;
        ++inside;
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        FillWhite(raster.view());
        RandomInt rnd(seed);
        GeneratePattern(raster.view(), layer, 96, 100, rnd);
        const Extent e = ExtentOf(raster.view(), 20, 10, 200);
        EXPECT_EQ(e.count, 114 * 114);
        EXPECT_EQ(e.minX, s.x0);
        EXPECT_EQ(e.maxX, s.x0 + 113);
        EXPECT_EQ(e.minY, s.y0);
        EXPECT_EQ(e.maxY, s.y0 + 113);
        EXPECT_TRUE(raster.paddingIntact());
    }
}

TEST(PatternGenerator, SizeZeroDrawsShapesOfSizeOne) {
    // 1 mm at 10 %: sizePx 0. Random size gives M = 1, fixed size is raised to 1:
    // a disc is one pixel, a square 2 x 2.
    ASSERT_EQ(PatternSizePx(1, 96, 10), 0);
    TestRaster raster(9, 7, 5);
    for (int sizeMode : {0, 1})
        for (int shape : {0, 3})
            for (uint32_t seed = 0; seed < 300; ++seed) {
                SCOPED_TRACE(testing::Message() << "seed " << seed << " size mode " << sizeMode << " shape " << shape);
                const TLayerRecord layer = PatternLayer(shape, 2, sizeMode, 0, 1, 1);
                const FirstShape s = FirstShapeOf(seed, layer, 0, 9, 7);
                ASSERT_EQ(s.m, 1);
                FillWhite(raster.view());
                RandomInt rnd(seed);
                GeneratePattern(raster.view(), layer, 96, 10, rnd);
                const Extent e = ExtentOf(raster.view(), 20, 10, 200);
                int expected = 0;
                for (int64_t y = s.y0; y <= s.y0 + (shape == 3 ? 1 : 0); ++y)
                    for (int64_t x = s.x0; x <= s.x0 + (shape == 3 ? 1 : 0); ++x)
                        expected += x >= 0 && y >= 0 && x < 9 && y < 7;
                ASSERT_EQ(e.count, expected);
                if (expected > 0) {
                    ASSERT_EQ(e.minX, std::max<int64_t>(s.x0, 0));
                }
            }
}

struct ShapeRows {
    int shape, m;
    std::vector<std::pair<int, int>> rows; // columns relative to x0 per row y0 + i; {1, 0} = empty
};

void PrintTo(const ShapeRows& c, std::ostream* os) { *os << "shape " << c.shape << ", M " << c.m; }

std::string ShapeRowsName(const testing::TestParamInfo<ShapeRows>& info) {
    static const char* const names[] = {"Disc", "Triangle", "Rectangle", "Square", "Bar", "LyingBar"};
    return std::string(names[info.param.shape]) + "Size" + std::to_string(info.param.m);
}

class ShapeGeometry : public testing::TestWithParam<ShapeRows> {};

TEST_P(ShapeGeometry, RowsSpanExactlyTheDefinedColumns) {
    const ShapeRows& c = GetParam();
    const int W = 41, H = 37;
    ASSERT_EQ(PatternSizePx(MmForPx(c.m), kPpi254, 100), c.m);
    const TLayerRecord layer = PatternLayer(c.shape, 2, 1, 0, 1, MmForPx(c.m));
    TestRaster raster(W, H, 7);
    int checked = 0;
    for (uint32_t seed = 0; checked < 3; ++seed) {
        const FirstShape s = FirstShapeOf(seed, layer, c.m, W, H);
        if (s.x0 < 0 || s.y0 < 0 || s.x0 + c.m >= W || s.y0 + c.m >= H) continue;
        ++checked;
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        FillWhite(raster.view());
        RandomInt rnd(seed);
        GeneratePattern(raster.view(), layer, kPpi254, 100, rnd);
        for (int y = 0; y < H; ++y) {
            const int i = y - int(s.y0);
            const std::pair<int, int> want =
                i >= 0 && i < int(c.rows.size()) ? c.rows[size_t(i)] : std::pair<int, int>{1, 0};
            for (int x = 0; x < W; ++x) {
                const int dx = x - int(s.x0);
                ASSERT_EQ(HasColour(raster.view(), x, y, 20, 10, 200), dx >= want.first && dx <= want.second)
                    << "x " << x << " y " << y;
            }
        }
        EXPECT_TRUE(raster.paddingIntact());
    }
}

INSTANTIATE_TEST_SUITE_P(
    PatternGenerator, ShapeGeometry,
    testing::Values(
        ShapeRows{0, 1, {{0, 0}, {1, 0}}},                                      // one pixel
        ShapeRows{0, 2, {{1, 1}, {0, 2}, {1, 1}}},                              // a plus of 5
        ShapeRows{0, 5, {{2, 2}, {1, 3}, {0, 4}, {1, 3}, {2, 2}, {1, 0}}},     // odd: last row empty
        ShapeRows{0, 10, {{5, 5}, {2, 8}, {1, 9}, {1, 9}, {1, 9}, {0, 10}, {1, 9}, {1, 9}, {1, 9}, {2, 8}, {5, 5}}},
        ShapeRows{1, 4, {{0, 4}, {0, 4}, {1, 3}, {1, 3}, {2, 2}}},              // even: 1 pixel at the tip
        ShapeRows{1, 5, {{0, 5}, {0, 5}, {0, 5}, {1, 4}, {1, 4}, {2, 3}}},      // odd: 2 pixels at the tip
        ShapeRows{3, 1, {{0, 1}, {0, 1}}},
        ShapeRows{4, 9, std::vector<std::pair<int, int>>(10, {0, 0})},           // thin below 10
        ShapeRows{4, 10, std::vector<std::pair<int, int>>(11, {0, 1})},
        ShapeRows{5, 9, {{0, 9}}},
        ShapeRows{5, 10, {{0, 10}, {0, 10}}}),
    ShapeRowsName);

TEST(PatternGenerator, RectanglesHaveOneFullSide) {
    // One side spans M + 1 pixels, the other 1 .. M; with fixed size the layer's
    // extents hold for every rectangle of the layer.
    const int W = 60, H = 60, M = 12;
    TestRaster raster(W, H);
    for (int sizeMode : {0, 1}) {
        std::set<std::pair<int, int>> sizes;
        int checked = 0;
        for (uint32_t seed = 0; checked < 200; ++seed) {
            const TLayerRecord layer = PatternLayer(2, 2, sizeMode, 0, 1, MmForPx(M));
            const FirstShape s = FirstShapeOf(seed, layer, M, W, H);
            if (s.x0 < 0 || s.y0 < 0 || s.x0 + s.m >= W || s.y0 + s.m >= H) continue;
            ++checked;
            SCOPED_TRACE(testing::Message() << "seed " << seed << " size mode " << sizeMode);
            FillWhite(raster.view());
            RandomInt rnd(seed);
            GeneratePattern(raster.view(), layer, kPpi254, 100, rnd);
            const Extent e = ExtentOf(raster.view(), 20, 10, 200);
            const int w = e.maxX - e.minX + 1, h = e.maxY - e.minY + 1;
            ASSERT_EQ(e.count, w * h);
            ASSERT_EQ(e.minX, s.x0);
            ASSERT_EQ(e.minY, s.y0);
            ASSERT_TRUE((w == s.m + 1 && h >= 1 && h <= s.m) || (h == s.m + 1 && w >= 1 && w <= s.m))
                << w << " x " << h << " M " << s.m;
            sizes.insert({w, h});
        }
        EXPECT_GT(sizes.size(), 10u); // both orientations, many lengths
    }
}

TEST(PatternGenerator, ColourDrawsAreRedGreenBlueAndShadesScaleTheBase) {
    // A square of 20 on an 8 x 8 raster always covers its top-left visible pixel.
    TestRaster raster(8, 8, 3);
    for (uint32_t seed = 0; seed < 50; ++seed) {
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        const TLayerRecord layer = PatternLayer(3, 0, 1, 0, 1, MmForPx(20));
        const FirstShape s = FirstShapeOf(seed, layer, 20, 8, 8);
        FillWhite(raster.view());
        RandomInt rnd(seed);
        GeneratePattern(raster.view(), layer, kPpi254, 100, rnd);
        const uint8_t* p = raster.view().pixel(int(std::max<int64_t>(s.x0, 0)), int(std::max<int64_t>(s.y0, 0)));
        ASSERT_EQ(p[0], s.blue);
        ASSERT_EQ(p[1], s.green);
        ASSERT_EQ(p[2], s.red);
    }
    // Mode 1: red 200, green 100, blue 0 at k = 51 gives 102, 51, 0; at k = 100 the base itself.
    const TLayerRecord shades = PatternLayer(3, 1, 1, 0, 1, MmForPx(20), zb::RGBColor(200, 100, 0));
    for (int wantK : {51, 100}) {
        uint32_t seed = 0;
        for (;; ++seed) {
            RandomInt probe(seed);
            probe(2);
            probe(20);
            if (probe(50) + 51 == wantK) break;
        }
        SCOPED_TRACE(testing::Message() << "seed " << seed << " k " << wantK);
        FillWhite(raster.view());
        RandomInt rnd(seed);
        GeneratePattern(raster.view(), shades, kPpi254, 100, rnd);
        const Extent e = wantK == 51 ? ExtentOf(raster.view(), 0, 51, 102) : ExtentOf(raster.view(), 0, 100, 200);
        EXPECT_GT(e.count, 0);
        EXPECT_EQ(e.count + ExtentOf(raster.view(), 255, 255, 255).count, 64);
    }
}

TEST(PatternGenerator, RegularPositionsLieOnTheGrid) {
    // M = 10, W = 100: x0 in {-10, 0, ..., 90}; draws -9 .. 9 all land on 0, so
    // cell 0 is hit about twice as often as the others.
    const int M = 10;
    TestRaster raster(100, 100, 1);
    std::vector<int> hits(11, 0);
    for (uint32_t seed = 0; seed < 3000; ++seed) {
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        FillWhite(raster.view());
        RandomInt rnd(seed);
        GeneratePattern(raster.view(), PatternLayer(3, 2, 1, 1, 1, MmForPx(M)), kPpi254, 100, rnd);
        const Extent e = ExtentOf(raster.view(), 20, 10, 200);
        ASSERT_GT(e.count, 0);
        const int x0 = e.maxX == 0 ? -10 : e.minX; // a square at -10 shows only column 0
        const int y0 = e.maxY == 0 ? -10 : e.minY;
        ASSERT_EQ(x0 % M, 0) << x0;
        ASSERT_EQ(y0 % M, 0) << y0;
        ASSERT_EQ(e.count, (std::min(x0 + M, 99) - std::max(x0, 0) + 1) * (std::min(y0 + M, 99) - std::max(y0, 0) + 1));
        ++hits[size_t(x0 / M + 1)];
    }
    for (int i = 0; i < 11; ++i) EXPECT_GT(hits[size_t(i)], 0) << "x0 " << (i - 1) * M;
    EXPECT_GT(hits[1], hits[6] * 3 / 2); // cell 0 against cell 50
}

TEST(PatternGenerator, LayersWithoutShapesStillMakeTheirTwoDraws) {
    TestRaster raster(30, 20);
    raster.fillRandom(7);
    const std::vector<uint8_t> before = Bytes(raster.view());
    for (int count : {0, -5}) {
        RandomInt rnd(4242), expected(4242);
        expected(2);
        expected(5);
        GeneratePattern(raster.view(), PatternLayer(3, 0, 0, 0, count, MmForPx(5)), kPpi254, 100, rnd);
        EXPECT_EQ(rnd.seed(), expected.seed()) << "count " << count;
        EXPECT_EQ(Bytes(raster.view()), before);
    }
    // Unknown shapes draw nothing but make the same draws as a square.
    for (int shape : {6, -1, 1000}) {
        RandomInt rnd(99), square(99);
        GeneratePattern(raster.view(), PatternLayer(shape, 0, 0, 1, 50, MmForPx(8)), kPpi254, 100, rnd);
        TestRaster scratch(30, 20);
        GeneratePattern(scratch.view(), PatternLayer(3, 0, 0, 1, 50, MmForPx(8)), kPpi254, 100, square);
        EXPECT_EQ(rnd.seed(), square.seed()) << "shape " << shape;
        EXPECT_EQ(Bytes(raster.view()), before);
    }
    // An empty raster receives nothing but consumes the same draws.
    RandomInt onEmpty(5), onRaster(5);
    GeneratePattern(RasterView{nullptr, 90, 30, 20}, PatternLayer(2, 0, 0, 0, 40, MmForPx(8)), kPpi254, 100, onEmpty);
    GeneratePattern(raster.view(), PatternLayer(2, 0, 0, 0, 40, MmForPx(8)), kPpi254, 100, onRaster);
    EXPECT_EQ(onEmpty.seed(), onRaster.seed());
}

TEST(PatternGenerator, CountsAboveTheEditorsLimitDrawTheLimit) {
    TestRaster a(16, 16), b(16, 16);
    RandomInt ra(3), rb(3);
    GeneratePattern(a.view(), PatternLayer(0, 0, 0, 0, zb::kMaxPatternCount, MmForPx(6)), kPpi254, 100, ra);
    GeneratePattern(b.view(), PatternLayer(0, 0, 0, 0, INT32_MAX, MmForPx(6)), kPpi254, 100, rb);
    EXPECT_EQ(ra.seed(), rb.seed());
    EXPECT_EQ(Bytes(a.view()), Bytes(b.view()));
}

namespace {

// Runs the generator and the reference on identical rasters (optionally
// viewed bottom-up through a negative stride) and compares every byte,
// padding included, and the generator state afterwards.
void ExpectSameAsReference(int W, int H, int padding, bool flipped, const TLayerRecord& layer, double ppi,
                           double zoom, int64_t sizePx, uint32_t seed) {
    TestRaster fast(W, H, padding), slow(W, H, padding);
    fast.fillRandom(seed);
    slow.fillRandom(seed);
    auto view = [&](const TestRaster& t) {
        RasterView v = t.view();
        if (flipped) v = RasterView{v.row(H - 1), -v.strideBytes, W, H};
        return v;
    };
    RandomInt rf(seed), rs(seed);
    GeneratePattern(view(fast), layer, ppi, zoom, rf);
    ReferencePattern(view(slow), layer, sizePx, rs);
    ASSERT_EQ(rf.seed(), rs.seed());
    ASSERT_TRUE(Bytes(fast.view()) == Bytes(slow.view()));
}

} // namespace

TEST(PatternGenerator, MatchesThePixelByPixelDefinition) {
    const uint32_t master = zb::test::TestSeed();
    std::mt19937 pick(master);
    const double ppis[] = {72, 96, 254, 300, 600};
    for (int run = 0; run < 1500; ++run) {
        const uint32_t seed = pick();
        SCOPED_TRACE(testing::Message() << "seed " << seed << " (master " << master << ", run " << run << ")");
        std::mt19937 r(seed);
        auto in = [&](int lo, int hi) { return lo + int(r() % uint32_t(hi - lo + 1)); };
        // Tiny rasters, ordinary ones, and wide ones whose rows take the long-run fill.
        const int kind = in(0, 5);
        const int W = kind == 0 ? in(1, 5) : kind == 1 ? in(129, 400) : in(1, 90);
        const int H = in(0, 3) == 0 ? in(1, 5) : in(1, kind == 1 ? 30 : 90);
        const double ppi = ppis[in(0, 4)];
        const double zoom = 10.0 * in(1, 30);
        // Mostly small sizes (0, 1, 2 pixels are the edge cases), sometimes up to 100 mm.
        const double mm = in(0, 2) == 0 ? in(1, 1000) / 10.0 : in(1, 40) / 100.0;
        const int64_t sizePx = int64_t(std::trunc(zoom * (mm / 25.39995 * ppi) / 100));
        TLayerRecord layer = PatternLayer(in(-1, 7), in(0, 3), in(0, 2), in(0, 2), in(-1, 25), mm,
                                          uint32_t(r()) & 0xFFFFFFu);
        if (sizePx > 300) layer.PatternCount = std::min(layer.PatternCount, 4); // keep the reference quick
        ExpectSameAsReference(W, H, in(0, 9), in(0, 1) == 1, layer, ppi, zoom, sizePx, seed);
        if (HasFatalFailure()) return;
    }
}

TEST(PatternGenerator, HugeShapesAreClippedExactly) {
    // 100 mm at 300 % on a 600 dpi printer, and sizes from foreign files at the cap.
    const uint32_t master = zb::test::TestSeed();
    std::mt19937 pick(master);
    for (int run = 0; run < 60; ++run) {
        const uint32_t seed = pick();
        SCOPED_TRACE(testing::Message() << "seed " << seed << " (master " << master << ")");
        const bool capped = run % 2 == 1;
        const TLayerRecord layer =
            PatternLayer(run / 2 % 6, 0, run / 12 % 2, run / 24 % 2, 3, capped ? 1e12 : 100);
        const int64_t sizePx = capped ? zb::kMaxPatternSizePx : 7086;
        ExpectSameAsReference(run % 3 == 0 ? 301 : 37, 23, 5, run % 4 == 1, layer, 600, 300, sizePx, seed);
        if (HasFatalFailure()) return;
    }
}
