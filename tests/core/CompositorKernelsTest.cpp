#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "TestRaster.h"
#include "TestSeed.h"
#include "base/DibPicture.h"
#include "render/GradientFill.h"
#include "render/GroundFill.h"
#include "render/LayerBlend.h"
#include "render/TextureTiling.h"

using zb::RasterView;
using zb::RGBColor;
using zb::test::TestRaster;

namespace {

struct Bgr {
    uint8_t b, g, r;
    friend bool operator==(const Bgr&, const Bgr&) = default;
};

Bgr At(const RasterView& v, int x, int y) {
    const uint8_t* p = v.pixel(x, y);
    return {p[0], p[1], p[2]};
}

Bgr Of(uint32_t color) { return {zb::BlueOf(color), zb::GreenOf(color), zb::RedOf(color)}; }

void Set(const RasterView& v, int x, int y, Bgr c) {
    uint8_t* p = v.pixel(x, y);
    p[0] = c.b;
    p[1] = c.g;
    p[2] = c.r;
}

// The first row and byte where two equally sized rasters differ, or "" when
// their pixel bytes are equal.
std::string FirstDifference(const RasterView& a, const RasterView& b) {
    for (int y = 0; y < a.height; ++y)
        for (int i = 0; i < a.width * 3; ++i)
            if (a.row(y)[i] != b.row(y)[i])
                return "row " + std::to_string(y) + " byte " + std::to_string(i) + ": " +
                       std::to_string(a.row(y)[i]) + " vs " + std::to_string(b.row(y)[i]);
    return {};
}

uint32_t BaseSeed() { return zb::test::TestSeed(); }

// Odd sizes, lines, single pixels, and sizes large enough to be split into
// row bands over several threads.
const int kSizes[][2] = {{1, 1}, {1, 9}, {9, 1}, {2, 2}, {3, 5}, {17, 13}, {101, 37}, {64, 33}, {701, 503}};

using GradientFn = void (*)(RasterView, uint32_t, uint32_t, int32_t, const zb::SheetWindow&);
const GradientFn kGradients[] = {&zb::FillGradient, &zb::FillGradientReference};

} // namespace

// ---- gradient -------------------------------------------------------------------

TEST(Gradient, FiguresOfTheFourDirections) {
    for (GradientFn fill : kGradients) {
        SCOPED_TRACE(fill == &zb::FillGradient ? "optimised" : "reference");
        {
            // Black to white over 256 rows: row y has the grey y.
            TestRaster t(5, 256);
            fill(t.view(), RGBColor(0, 0, 0), RGBColor(255, 255, 255), 0, {});
            for (int y = 0; y < 256; ++y)
                for (int x = 0; x < 5; ++x) ASSERT_EQ(At(t.view(), x, y), (Bgr{uint8_t(y), uint8_t(y), uint8_t(y)}));
            EXPECT_TRUE(t.paddingIntact());
        }
        {
            // Red 255 -> 0 over 3 rows: 255 + (-255 * 1) / 2 truncates toward
            // zero to 255 - 127 = 128.
            TestRaster t(4, 3);
            fill(t.view(), RGBColor(255, 10, 200), RGBColor(0, 10, 0), 0, {});
            EXPECT_EQ(At(t.view(), 2, 0), (Bgr{200, 10, 255}));
            EXPECT_EQ(At(t.view(), 2, 1), (Bgr{100, 10, 128}));
            EXPECT_EQ(At(t.view(), 2, 2), (Bgr{0, 10, 0}));
        }
        const uint32_t c1 = RGBColor(10, 200, 30), c2 = RGBColor(250, 0, 99);
        {
            TestRaster t(7, 4);
            fill(t.view(), c1, c2, 1, {});
            for (int y = 0; y < 4; ++y) {
                EXPECT_EQ(At(t.view(), 0, y), Of(c1));
                EXPECT_EQ(At(t.view(), 6, y), Of(c2));
                // x = 3 of 6: 10 + 240 * 3 / 6, 200 - 200 * 3 / 6, 30 + 69 * 3 / 6.
                EXPECT_EQ(At(t.view(), 3, y), (Bgr{64, 100, 130}));
            }
            EXPECT_TRUE(t.paddingIntact());
        }
        {
            TestRaster t(7, 4);
            fill(t.view(), c1, c2, 2, {});
            EXPECT_EQ(At(t.view(), 0, 0), Of(c1));
            EXPECT_EQ(At(t.view(), 6, 3), Of(c2));
            // Constant along anti-diagonals.
            EXPECT_EQ(At(t.view(), 4, 1), At(t.view(), 2, 3));
            EXPECT_TRUE(t.paddingIntact());
        }
        {
            TestRaster t(7, 4);
            fill(t.view(), c1, c2, 3, {});
            EXPECT_EQ(At(t.view(), 6, 0), Of(c1)); // top right
            EXPECT_EQ(At(t.view(), 0, 3), Of(c2)); // bottom left
            EXPECT_EQ(At(t.view(), 2, 1), At(t.view(), 4, 3));
            EXPECT_TRUE(t.paddingIntact());
        }
    }
}

TEST(Gradient, UnknownDirectionAndSinglePixelLength) {
    const uint32_t c1 = RGBColor(1, 2, 3), c2 = RGBColor(200, 100, 50);
    for (GradientFn fill : kGradients) {
        SCOPED_TRACE(fill == &zb::FillGradient ? "optimised" : "reference");
        TestRaster top(6, 5);
        fill(top.view(), c1, c2, 0, {});
        for (int32_t direction : {-1, 4, std::numeric_limits<int32_t>::min()}) {
            TestRaster t(6, 5);
            fill(t.view(), c1, c2, direction, {});
            EXPECT_EQ(FirstDifference(t.view(), top.view()), "") << "direction " << direction;
        }
        // One pixel long in the gradient's direction: colour 1 everywhere.
        const struct {
            int w, h, direction;
        } lines[] = {{9, 1, 0}, {1, 9, 1}, {1, 1, 2}, {1, 1, 3}};
        for (const auto& l : lines) {
            TestRaster t(l.w, l.h);
            fill(t.view(), c1, c2, l.direction, {});
            for (int y = 0; y < l.h; ++y)
                for (int x = 0; x < l.w; ++x) EXPECT_EQ(At(t.view(), x, y), Of(c1)) << "direction " << l.direction;
        }
    }
}

TEST(Gradient, OptimisedMatchesReferenceOnRandomRasters) {
    const uint32_t base = BaseSeed();
    std::mt19937 rng(base);
    SCOPED_TRACE(testing::Message() << "ZB_TEST_SEED=" << base);
    for (const auto& size : kSizes) {
        for (int32_t direction = -1; direction <= 4; ++direction) {
            const uint32_t c1 = rng() & 0xFFFFFF, c2 = rng() & 0xFFFFFF;
            SCOPED_TRACE(testing::Message() << size[0] << " x " << size[1] << " direction " << direction);
            TestRaster fast(size[0], size[1]), slow(size[0], size[1]);
            fast.fillRandom(rng());
            zb::FillGradient(fast.view(), c1, c2, direction);
            zb::FillGradientReference(slow.view(), c1, c2, direction);
            ASSERT_EQ(FirstDifference(fast.view(), slow.view()), "");
            ASSERT_TRUE(fast.paddingIntact());
        }
    }
}

// ---- blend ----------------------------------------------------------------------

TEST(Blend, DivisionByTenIsExactForEverySum) {
    for (uint32_t x = 0; x <= 255 * 10; ++x) ASSERT_EQ(zb::DivideBy10(x), x / 10) << x;
}

TEST(Blend, WeightIsTheTrackBarPositionHeldToItsRange) {
    const struct {
        int32_t transparency;
        int weight;
    } cases[] = {{-5, 0}, {0, 5}, {-2, 3}, {5, 10}, {-6, 0}, {6, 10}, {std::numeric_limits<int32_t>::min(), 0},
                 {std::numeric_limits<int32_t>::max(), 10}};
    for (const auto& c : cases) EXPECT_EQ(zb::BlendWeight(c.transparency), c.weight) << c.transparency;
}

TEST(Blend, Figures) {
    const struct {
        uint8_t layer, beneath;
        int weight;
        uint8_t expected;
    } cases[] = {
        {200, 100, 5, 150},
        {200, 100, 3, 170}, // (200 * 7 + 100 * 3) div 10
        {1, 0, 5, 0},       // rounds down
        {200, 100, 10, 100}, // invisible layer
        {200, 100, 0, 200},  // opaque layer
        {255, 255, 7, 255},
        {0, 255, 1, 25},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.layer) << " over " << int(c.beneath) << " at S " << c.weight);
        // 37 pixels: the vector body and the byte tail both see the values.
        TestRaster design(37, 3), layer(37, 3);
        for (int y = 0; y < 3; ++y) {
            std::memset(design.view().row(y), c.beneath, 37 * 3);
            std::memset(layer.view().row(y), c.layer, 37 * 3);
        }
        zb::BlendLayer(design.view(), layer.view(), c.weight);
        for (int y = 0; y < 3; ++y)
            for (int i = 0; i < 37 * 3; ++i) ASSERT_EQ(design.view().row(y)[i], c.expected) << "byte " << i;
        EXPECT_TRUE(design.paddingIntact());
    }
}

TEST(Blend, EveryInputPairAtEveryWeight) {
    // Pixel (x, y) holds layer x over design y in all three channels: every
    // pair of bytes, for every weight, through the optimised kernel.
    for (int weight = 0; weight <= 10; ++weight) {
        TestRaster design(256, 256), layer(256, 256);
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 256; ++x) {
                Set(design.view(), x, y, {uint8_t(y), uint8_t(y), uint8_t(y)});
                Set(layer.view(), x, y, {uint8_t(x), uint8_t(x), uint8_t(x)});
            }
        zb::BlendLayer(design.view(), layer.view(), weight);
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 256; ++x) {
                const uint8_t expected = uint8_t((x * (10 - weight) + y * weight) / 10);
                ASSERT_EQ(At(design.view(), x, y), (Bgr{expected, expected, expected}))
                    << "layer " << x << " over " << y << " at S " << weight;
            }
    }
}

TEST(Blend, OptimisedMatchesReferenceOnRandomRasters) {
    const uint32_t base = BaseSeed();
    std::mt19937 rng(base);
    SCOPED_TRACE(testing::Message() << "ZB_TEST_SEED=" << base);
    for (const auto& size : kSizes) {
        for (int weight = -1; weight <= 11; ++weight) {
            SCOPED_TRACE(testing::Message() << size[0] << " x " << size[1] << " S " << weight);
            TestRaster fast(size[0], size[1]), slow(size[0], size[1]), layer(size[0], size[1]);
            TestRaster design(size[0], size[1]), into(size[0], size[1], 5);
            const uint32_t seed = rng();
            fast.fillRandom(seed);
            slow.fillRandom(seed);
            design.fillRandom(seed);
            layer.fillRandom(rng());
            zb::BlendLayer(fast.view(), layer.view(), weight);
            zb::BlendLayerReference(slow.view(), layer.view(), weight);
            ASSERT_EQ(FirstDifference(fast.view(), slow.view()), "");
            ASSERT_TRUE(fast.paddingIntact());
            // Into another raster: the same bytes, the design left alone.
            zb::BlendLayerInto(into.view(), design.view(), layer.view(), weight);
            ASSERT_EQ(FirstDifference(into.view(), slow.view()), "");
            ASSERT_TRUE(into.paddingIntact());
            TestRaster untouched(size[0], size[1]);
            untouched.fillRandom(seed);
            ASSERT_EQ(FirstDifference(design.view(), untouched.view()), "");
        }
    }
}

// ---- ground fill ----------------------------------------------------------------

TEST(GroundFill, WhiteAndCopyTouchOnlyPixelBytes) {
    for (const auto& size : kSizes) {
        SCOPED_TRACE(testing::Message() << size[0] << " x " << size[1]);
        TestRaster white(size[0], size[1]), source(size[0], size[1]), copy(size[0], size[1]);
        white.fillRandom(1);
        zb::FillWhite(white.view());
        for (int y = 0; y < size[1]; ++y)
            for (int i = 0; i < size[0] * 3; ++i) ASSERT_EQ(white.view().row(y)[i], 255);
        EXPECT_TRUE(white.paddingIntact());

        source.fillRandom(2);
        zb::CopyPixels(copy.view(), source.view());
        EXPECT_EQ(FirstDifference(copy.view(), source.view()), "");
        EXPECT_TRUE(copy.paddingIntact());
    }
}

// ---- texture tiling -------------------------------------------------------------

namespace {

// A bottom-up 24-bit picture whose pixel (x, y), counted from the top, is
// blue x, green y, red 7.
zb::DibPicture CoordinatePicture(int w, int h) {
    zb::DibPicture dib(w, h, 24);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) zb::setpixel(dib.dib(), x, h - 1 - y, RGBColor(7, uint8_t(y), uint8_t(x)));
    return dib;
}

using TileFn = void (*)(RasterView, RasterView, zb::TileSize, const zb::SheetWindow&);
const TileFn kTilers[] = {&zb::TileTexture, &zb::TileTextureReference};

} // namespace

TEST(TextureTiling, SamplesFromThePicturesTopLeft) {
    zb::DibPicture picture = CoordinatePicture(100, 50);
    ASSERT_NE(picture.dib().Bits, nullptr);
    const zb::TileSize tile = zb::TextureTileSize(100, 50, 25.39995, 100, 10);
    ASSERT_EQ(tile, (zb::TileSize{10, 5}));
    for (TileFn tileFn : kTilers) {
        SCOPED_TRACE(tileFn == &zb::TileTexture ? "optimised" : "reference");
        TestRaster t(43, 22);
        tileFn(t.view(), zb::ViewOf(picture), tile, {});
        // Column 13 samples picture column (99 * 3) div 10 = 29; row 2 samples
        // picture row (49 * 2) div 5 = 19 from the top.
        EXPECT_EQ(At(t.view(), 13, 2), (Bgr{29, 19, 7}));
        EXPECT_EQ(At(t.view(), 0, 0), (Bgr{0, 0, 7}));
        // The picture's last column and row are never sampled.
        EXPECT_EQ(At(t.view(), 9, 4), (Bgr{89, 39, 7}));
        // Tiles of 10 x 5 repeat from the top-left corner.
        for (int y = 0; y < 22; ++y)
            for (int x = 0; x < 43; ++x) ASSERT_EQ(At(t.view(), x, y), At(t.view(), x % 10, y % 5)) << x << "," << y;
        EXPECT_TRUE(t.paddingIntact());
    }
}

TEST(TextureTiling, OnePixelPicturesAndEmptyPicture) {
    for (TileFn tileFn : kTilers) {
        SCOPED_TRACE(tileFn == &zb::TileTexture ? "optimised" : "reference");
        zb::DibPicture column = CoordinatePicture(1, 6);
        TestRaster t(9, 8);
        tileFn(t.view(), zb::ViewOf(column), {4, 3}, {});
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 9; ++x)
                ASSERT_EQ(At(t.view(), x, y), (Bgr{0, uint8_t(5 * (y % 3) / 3), 7})) << x << "," << y;
        EXPECT_TRUE(t.paddingIntact());
        column.reset();

        // No picture: the raster keeps what it held.
        TestRaster keep(5, 5), before(5, 5);
        keep.fillRandom(3);
        before.fillRandom(3);
        tileFn(keep.view(), RasterView{}, {4, 3}, {});
        EXPECT_EQ(FirstDifference(keep.view(), before.view()), "");
    }
}

TEST(TextureTiling, OptimisedMatchesReferenceOnRandomRasters) {
    const uint32_t base = BaseSeed();
    std::mt19937 rng(base);
    SCOPED_TRACE(testing::Message() << "ZB_TEST_SEED=" << base);
    for (const auto& size : kSizes) {
        for (int round = 0; round < 6; ++round) {
            const int picW = 1 + int(rng() % 40), picH = 1 + int(rng() % 40);
            // Tiles smaller than, near and larger than the raster.
            const zb::TileSize tile{1 + int64_t(rng() % 70), 1 + int64_t(rng() % 70)};
            SCOPED_TRACE(testing::Message() << size[0] << " x " << size[1] << ", picture " << picW << " x " << picH
                                            << ", tile " << tile.width << " x " << tile.height);
            TestRaster picture(picW, picH, 1 + int(rng() % 8));
            picture.fillRandom(rng());
            TestRaster fast(size[0], size[1]), slow(size[0], size[1]);
            zb::TileTexture(fast.view(), picture.view(), tile);
            zb::TileTextureReference(slow.view(), picture.view(), tile);
            ASSERT_EQ(FirstDifference(fast.view(), slow.view()), "");
            ASSERT_TRUE(fast.paddingIntact());
        }
    }
}
