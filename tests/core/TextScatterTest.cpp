#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "TestRaster.h"
#include "render/TextScatter.h"
#include "render/TextWalkCache.h"

using zb::FontEngine;
using zb::RandomInt;
using zb::RasterView;
using zb::TextBitmap;
using zb::TLayerRecord;
using zb::test::TestRaster;

namespace {

// A layer record that releases its strings.
struct Layer {
    TLayerRecord rec{};
    Layer() {
        zb::SetLayerDefaults(rec);
        rec.Kind = zb::kKindText;
    }
    Layer(const Layer&) = delete;
    Layer& operator=(const Layer&) = delete;
    void SetText(std::string_view t) { rec.LayerText = t; }
    void SetFont(std::string_view f) { rec.FontName = f; }
    // Everything chosen rather than random.
    void Fixed(uint32_t colour) {
        rec.TextColorMode = 2;
        rec.TextColor = colour;
        rec.TextSizeMode = 1;
        rec.TextPosMode = 1;
        rec.TextFontMode = 1;
        rec.TextCount = 10;
    }
};

// Deterministic bitmaps with black, grey and white pixels. The family "Null"
// renders zero pixels wide.
TextBitmap WordShape(const std::string& family, int height, std::string_view text) {
    const int h = height == 0 ? 6 : height;
    TextBitmap b;
    b.width = family == "Null" ? 0 : int(text.size()) * (h / 2 + 1) + int(family.size() % 3);
    b.height = h + h / 4 + 1;
    b.pixels.resize(size_t(b.width) * size_t(b.height));
    std::mt19937 rng(uint32_t(std::hash<std::string>()(family) ^ uint32_t(h * 7919) ^ uint32_t(text.size())));
    // Runs of 1 .. 12 equal pixels, so strokes of every length occur.
    for (size_t i = 0; i < b.pixels.size();) {
        const uint32_t r = rng() % 100;
        const uint8_t v = r < 40 ? 0 : r < 45 ? 1 : r < 50 ? 128 : r < 55 ? 254 : 255;
        for (size_t n = 1 + rng() % 12; n > 0 && i < b.pixels.size(); --n) b.pixels[i++] = v;
    }
    return b;
}

class FakeFonts : public FontEngine {
public:
    std::vector<std::string> families{"Alpha", "Beta", "Gamma", "Null", "Delta"};
    std::vector<std::pair<std::string, int>> calls;
    std::function<TextBitmap(const std::string&, int, std::string_view)> shape = WordShape;

    const std::vector<std::string>& Families() override { return families; }
    TextBitmap Render(const std::string& family, int pixelHeight, std::string_view text) override {
        calls.emplace_back(family, pixelHeight);
        return shape(family, pixelHeight, text);
    }
};

// The walk written plainly: one render per cell, every pixel tested.
void ReferenceScatter(RasterView r, const TLayerRecord& layer, double s, double z, RandomInt& random,
                      FontEngine& fonts) {
    const std::string_view text = layer.LayerText;
    if (text.empty()) return;
    const int W = r.width, H = r.height;
    for (int64_t cellY = 0; cellY < H;) {
        int rowHeight = 1;
        for (int64_t cellX = 0; cellX < W;) {
            std::string font(layer.FontName);
            if (layer.TextFontMode == 0) {
                const auto& list = fonts.Families();
                const int i = random(int64_t(list.size()));
                if (!list.empty()) font = list[size_t(i)];
            }
            const int size = layer.TextSizeMode != 0 ? layer.TextSize : random(layer.TextSize);
            const double fontHeight = std::trunc(z * (-size) / 100 * s / 72);
            const int height = int(std::min(std::fabs(fontHeight), 16384.0));
            const TextBitmap bmp = fonts.Render(font, height, text);
            int red, green, blue;
            const int cr = int(layer.TextColor & 0xFF), cg = int((layer.TextColor >> 8) & 0xFF),
                      cb = int((layer.TextColor >> 16) & 0xFF);
            if (layer.TextColorMode == 0) {
                red = random(256);
                green = random(256);
                blue = random(256);
            } else if (layer.TextColorMode == 1) {
                const int k = random(50) + 51;
                red = cr * k / 100, green = cg * k / 100, blue = cb * k / 100;
            } else {
                red = cr, green = cg, blue = cb;
            }
            int px = int(cellX), py = int(cellY);
            if (layer.TextPosMode == 0) {
                px = random(W);
                py = random(H);
            }
            if (random(10) - 1 < layer.TextCount)
                for (int j = 0; j < bmp.height; ++j)
                    for (int i = 0; i < bmp.width; ++i)
                        if (bmp.pixels[size_t(j) * size_t(bmp.width) + size_t(i)] == 0 && px + i < W && py + j < H) {
                            uint8_t* p = r.pixel(px + i, py + j);
                            p[0] = uint8_t(blue), p[1] = uint8_t(green), p[2] = uint8_t(red);
                        }
            cellX += std::max(bmp.width, 1);
            rowHeight = std::max(rowHeight, bmp.height);
        }
        cellY += rowHeight;
    }
}

// A view of the same bytes with rows stored bottom-up, as in a DIB record.
RasterView Flipped(RasterView v) {
    return RasterView{v.row(v.height - 1), -v.strideBytes, v.width, v.height};
}

bool SameBytes(const TestRaster& a, const TestRaster& b) {
    const RasterView va = a.view(), vb = b.view();
    const size_t rowBytes = size_t(va.strideBytes);
    for (int y = 0; y < va.height; ++y)
        if (std::memcmp(va.row(y), vb.row(y), rowBytes) != 0) return false;
    return true;
}

uint32_t Rgb(uint8_t r, uint8_t g, uint8_t b) { return zb::RGBColor(r, g, b); }

// Colour of pixel (x, y) as red, green, blue.
std::array<int, 3> At(RasterView v, int x, int y) {
    const uint8_t* p = v.pixel(x, y);
    return {p[2], p[1], p[0]};
}

} // namespace

TEST(TextScatter, MatchesThePlainWalkOnRandomSettings) {
    for (uint32_t seed = 1; seed <= 200; ++seed) {
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        std::mt19937 rng(seed);
        auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };

        Layer layer;
        layer.rec.TextColorMode = pick(0, 3);
        layer.rec.TextColor = rng() & 0xFFFFFF;
        layer.rec.TextSizeMode = pick(0, 1);
        layer.rec.TextSize = pick(-2, 40);
        layer.rec.TextPosMode = pick(0, 1);
        layer.rec.TextFontMode = pick(0, 1);
        layer.rec.TextCount = pick(-1, 11);
        layer.SetText(std::string(size_t(pick(1, 5)), 'x'));
        if (pick(0, 5) == 0) layer.SetFont("Null");
        const double zoom = pick(1, 30) * 10;
        const double ppi = std::array<double, 4>{72, 96, 150, 600}[size_t(pick(0, 3))];
        const int w = pick(1, 90), h = pick(1, 90);

        FakeFonts fast, plain;
        if (pick(0, 6) == 0) fast.families.clear(), plain.families.clear();

        TestRaster got(w, h), want(w, h);
        got.fillRandom(seed);
        want.fillRandom(seed);
        const bool bottomUp = seed % 2 == 0;
        RandomInt rFast(seed * 2654435761u), rPlain(seed * 2654435761u);
        zb::ScatterText(bottomUp ? Flipped(got.view()) : got.view(), layer.rec, ppi, zoom, rFast, fast);
        ReferenceScatter(bottomUp ? Flipped(want.view()) : want.view(), layer.rec, ppi, zoom, rPlain, plain);

        EXPECT_EQ(rFast.seed(), rPlain.seed()) << "number or order of draws differs";
        EXPECT_TRUE(SameBytes(got, want));
        EXPECT_TRUE(got.paddingIntact());
        // The same (font, height) pairs are asked for, each once.
        std::set<std::pair<std::string, int>> asked(plain.calls.begin(), plain.calls.end());
        std::multiset<std::pair<std::string, int>> cached(fast.calls.begin(), fast.calls.end());
        EXPECT_TRUE((std::set<std::pair<std::string, int>>(cached.begin(), cached.end()) == asked));
        EXPECT_EQ(cached.size(), asked.size());
    }
}

// A kept walk is stamped again only for the sheet, layer and start state it
// was walked for, and gives the plain walk's pixels and draws; a cache too
// small to keep it walks each time.
TEST(TextScatter, AKeptWalkServesOnlyItsOwnSheetLayerAndStart) {
    zb::TextWalkCache roomy, tight(0);
    struct Step {
        zb::TextWalkCache* cache;
        uint32_t start;
        const char* text;
        bool renders; // the fonts are asked (the walk was not kept for it)
    };
    const Step steps[] = {
        {&roomy, 11, "xy", true},  {&roomy, 11, "xy", false}, {&roomy, 12, "xy", true},
        {&roomy, 11, "xyz", true}, {&roomy, 11, "xy", false}, {&tight, 11, "xy", true},
        {&tight, 11, "xy", true},
    };
    for (size_t i = 0; i < std::size(steps); ++i) {
        const Step& step = steps[i];
        SCOPED_TRACE(testing::Message() << "step " << i);
        Layer layer;
        layer.rec.TextColorMode = 0;
        layer.rec.TextSizeMode = 0;
        layer.rec.TextSize = 20;
        layer.rec.TextPosMode = 0;
        layer.rec.TextFontMode = 0;
        layer.rec.TextCount = 6;
        layer.SetText(step.text);
        FakeFonts kept, plain;
        TestRaster got(70, 50), want(70, 50);
        got.fillRandom(uint32_t(i));
        want.fillRandom(uint32_t(i));
        RandomInt rKept(step.start), rPlain(step.start);
        zb::ScatterText(got.view(), layer.rec, 96, 100, rKept, kept, {}, {}, step.cache);
        ReferenceScatter(want.view(), layer.rec, 96, 100, rPlain, plain);
        EXPECT_EQ(rKept.seed(), rPlain.seed());
        EXPECT_TRUE(SameBytes(got, want));
        EXPECT_EQ(!kept.calls.empty(), step.renders);
    }
}

TEST(TextScatter, RegularLayoutTilesIdenticalCopiesAndStampsOnlyBlack) {
    // 5 x 3 text with grey pixels (1, 128, 254) that must stay unstamped.
    const std::vector<uint8_t> shape = {
        0,   0, 0,   255, 1,   //
        128, 0, 255, 0,   254, //
        0,   255, 0, 0,   0,
    };
    FakeFonts fonts;
    fonts.shape = [&](const std::string&, int, std::string_view) { return TextBitmap{5, 3, shape}; };
    Layer layer;
    layer.Fixed(Rgb(10, 20, 30));
    layer.SetFont("Chosen");

    // 23 x 10: cells at x 0, 5, 10, 15, 20 (the last cut after 3 columns) and
    // y 0, 3, 6, 9 (the last cut after 1 row).
    TestRaster raster(23, 10);
    for (int y = 0; y < 10; ++y) std::memset(raster.view().row(y), 255, 23 * 3);
    RandomInt random(77);
    zb::ScatterText(raster.view(), layer.rec, 96, 100, random, fonts);

    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 23; ++x) {
            const bool black = shape[size_t((y % 3) * 5 + x % 5)] == 0;
            const std::array<int, 3> want = black ? std::array<int, 3>{10, 20, 30} : std::array<int, 3>{255, 255, 255};
            ASSERT_EQ(At(raster.view(), x, y), want) << "at " << x << "," << y;
        }
    EXPECT_TRUE(raster.paddingIntact());

    // One density draw for each of the 20 cells, one render for all.
    RandomInt expected(77);
    for (int i = 0; i < 20; ++i) expected(10);
    EXPECT_EQ(random.seed(), expected.seed());
    ASSERT_EQ(fonts.calls.size(), 1u);
    EXPECT_EQ(fonts.calls[0], std::make_pair(std::string("Chosen"), 16)); // Trunc(100 * 12 / 100 * 96 / 72)
}

TEST(TextScatter, DensityZeroStampsAboutOneCellInTen) {
    FakeFonts fonts;
    fonts.shape = [](const std::string&, int, std::string_view) { return TextBitmap{1, 1, {0}}; };
    Layer layer;
    layer.Fixed(Rgb(0, 0, 0));
    layer.rec.TextCount = 0;
    TestRaster raster(100, 100);
    for (int y = 0; y < 100; ++y) std::memset(raster.view().row(y), 255, 300);
    const uint32_t seed = 4242;
    RandomInt random(seed);
    zb::ScatterText(raster.view(), layer.rec, 96, 100, random, fonts);

    int stamped = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x) stamped += raster.view().pixel(x, y)[0] == 0;
    // Draw 0 (and only 0) passes "draw - 1 < 0".
    RandomInt replay(seed);
    int zeros = 0;
    for (int i = 0; i < 10000; ++i) zeros += replay(10) == 0;
    EXPECT_EQ(stamped, zeros);
    EXPECT_NEAR(stamped, 1000, 150);
    EXPECT_EQ(random.seed(), replay.seed());
}

TEST(TextScatter, CharacterHeightIsTruncatedFromPointsZoomAndResolution) {
    struct Case {
        double zoom, ppi;
        int size, sizeMode, want;
    };
    const Case cases[] = {
        {30, 96, 12, 1, 4},     // Trunc(-4.8) = -4: 4 pixels, not 5
        {100, 600, 12, 1, 100}, // 12 points on a 600 dpi page
        {300, 96, 144, 1, 576},
        {100, 96, 1, 0, 0},     // random size of 1 draws 0: the default height
        {100, 96, -12, 1, 16},  // a negative size from a foreign file: same height
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "zoom " << c.zoom << " ppi " << c.ppi << " size " << c.size);
        FakeFonts fonts;
        Layer layer;
        layer.Fixed(0);
        layer.rec.TextSize = c.size;
        layer.rec.TextSizeMode = c.sizeMode;
        TestRaster raster(20, 20);
        RandomInt random(1);
        zb::ScatterText(raster.view(), layer.rec, c.ppi, c.zoom, random, fonts);
        ASSERT_EQ(fonts.calls.size(), 1u);
        EXPECT_EQ(fonts.calls[0].second, c.want);
    }
}

TEST(TextScatter, ColourModes) {
    FakeFonts fonts;
    fonts.shape = [](const std::string&, int, std::string_view) { return TextBitmap{1, 1, {0}}; };
    Layer layer;
    layer.Fixed(Rgb(200, 100, 0));

    // "Zufällig - ähnliche Farben": the first draw of a regular, chosen-size
    // cell is the shade; find a start where it gives k = 51.
    layer.rec.TextColorMode = 1;
    uint32_t seed = 0;
    while (RandomInt(seed)(50) != 0) ++seed;
    {
        TestRaster raster(1, 1);
        RandomInt random(seed);
        zb::ScatterText(raster.view(), layer.rec, 96, 100, random, fonts);
        EXPECT_EQ(At(raster.view(), 0, 0), (std::array<int, 3>{102, 51, 0}));
    }
    // k = 100 keeps the colour.
    seed = 0;
    while (RandomInt(seed)(50) != 49) ++seed;
    {
        TestRaster raster(1, 1);
        RandomInt random(seed);
        zb::ScatterText(raster.view(), layer.rec, 96, 100, random, fonts);
        EXPECT_EQ(At(raster.view(), 0, 0), (std::array<int, 3>{200, 100, 0}));
    }
    // "Zufällig": red, then green, then blue.
    layer.rec.TextColorMode = 0;
    {
        TestRaster raster(1, 1);
        RandomInt random(99), replay(99);
        zb::ScatterText(raster.view(), layer.rec, 96, 100, random, fonts);
        const int r = replay(256), g = replay(256), b = replay(256);
        EXPECT_EQ(At(raster.view(), 0, 0), (std::array<int, 3>{r, g, b}));
    }
}

TEST(TextScatter, EmptyTextLeavesTheGroundFillAndDrawsNothing) {
    for (bool null : {false, true}) {
        FakeFonts fonts;
        Layer layer;
        if (null) {
            layer.rec.LayerText.clear();
        } else {
            layer.SetText("");
        }
        TestRaster raster(40, 30), ground(40, 30);
        raster.fillRandom(5);
        ground.fillRandom(5);
        RandomInt random(123);
        zb::ScatterText(raster.view(), layer.rec, 96, 100, random, fonts);
        EXPECT_TRUE(SameBytes(raster, ground));
        EXPECT_EQ(random.seed(), 123u);
        EXPECT_TRUE(fonts.calls.empty());
    }
}

TEST(TextScatter, ZeroWidthTextsStillEndTheWalk) {
    // Width 0 advances one pixel; height 0 still ends a row after one pixel.
    for (int height : {0, 2}) {
        SCOPED_TRACE(testing::Message() << "height " << height);
        FakeFonts fonts;
        fonts.shape = [&](const std::string&, int, std::string_view) { return TextBitmap{0, height, {}}; };
        Layer layer;
        layer.Fixed(0);
        TestRaster raster(7, 5);
        raster.fillRandom(1);
        TestRaster before(7, 5);
        before.fillRandom(1);
        RandomInt random(8), expected(8);
        zb::ScatterText(raster.view(), layer.rec, 96, 100, random, fonts);
        const int rows = height == 0 ? 5 : 3;
        for (int i = 0; i < 7 * rows; ++i) expected(10);
        EXPECT_EQ(random.seed(), expected.seed());
        EXPECT_TRUE(SameBytes(raster, before));
    }
}

TEST(TextScatter, RendersEachFontAndHeightOncePerCall) {
    FakeFonts fonts;
    Layer layer; // defaults: random font, size, colour and position
    layer.rec.TextSize = 6;
    TestRaster raster(300, 300);
    RandomInt random(31);
    zb::ScatterText(raster.view(), layer.rec, 96, 100, random, fonts);
    std::map<std::pair<std::string, int>, int> counts;
    for (const auto& c : fonts.calls) ++counts[c];
    for (const auto& [key, n] : counts) EXPECT_EQ(n, 1) << key.first << " " << key.second;
    // Five fonts and six sizes: most of the 30 pairs appear on a sheet this size.
    EXPECT_GT(counts.size(), 20u);
    EXPECT_LE(counts.size(), 30u);

    // A second call starts afresh.
    const size_t first = fonts.calls.size();
    zb::ScatterText(raster.view(), layer.rec, 96, 100, random, fonts);
    EXPECT_GT(fonts.calls.size(), first);
}

TEST(TextScatter, EmptyFontListUsesTheLayersFontAndKeepsTheDraw) {
    FakeFonts fonts;
    fonts.families.clear();
    Layer layer;
    layer.Fixed(0);
    layer.rec.TextFontMode = 0;
    layer.SetFont("Eigene");
    fonts.shape = [](const std::string&, int, std::string_view) { return TextBitmap{4, 4, std::vector<uint8_t>(16, 0)}; };
    TestRaster raster(8, 4);
    RandomInt random(3), expected(3);
    zb::ScatterText(raster.view(), layer.rec, 96, 100, random, fonts);
    ASSERT_EQ(fonts.calls.size(), 1u);
    EXPECT_EQ(fonts.calls[0].first, "Eigene");
    for (int i = 0; i < 2; ++i) expected(0), expected(10); // two cells: font, density
    EXPECT_EQ(random.seed(), expected.seed());
}

TEST(TextScatter, TextsLargerThanTheRasterAreCutNotAllocatedWhole) {
    // An engine that honours the clip sees the raster's size as the limit.
    class ClipSpy : public FakeFonts {
    public:
        int maxWidth = -1, maxHeight = -1;
        TextBitmap RenderClipped(const std::string& family, int pixelHeight, std::string_view text, int mw,
                                 int mh) override {
            maxWidth = mw, maxHeight = mh;
            return FontEngine::RenderClipped(family, pixelHeight, text, mw, mh);
        }
    } fonts;
    fonts.shape = [](const std::string&, int, std::string_view) {
        return TextBitmap{500, 400, std::vector<uint8_t>(500 * 400, 0)};
    };
    Layer layer;
    layer.Fixed(Rgb(1, 2, 3));
    TestRaster raster(30, 20);
    RandomInt random(0);
    zb::ScatterText(raster.view(), layer.rec, 96, 100, random, fonts);
    EXPECT_EQ(fonts.maxWidth, 30);
    EXPECT_EQ(fonts.maxHeight, 20);
    EXPECT_EQ(At(raster.view(), 29, 19), (std::array<int, 3>{1, 2, 3}));
    EXPECT_TRUE(raster.paddingIntact());
    RandomInt expected(0);
    expected(10); // one cell fills the sheet
    EXPECT_EQ(random.seed(), expected.seed());
}

TEST(CropTextBitmap, CutsAndTreatsShortPixelDataAsBlank) {
    TextBitmap b{3, 2, {0, 1, 2, 3, 4, 5}};
    const TextBitmap cut = zb::CropTextBitmap(b, 2, 5);
    EXPECT_EQ(cut.width, 2);
    EXPECT_EQ(cut.height, 2);
    EXPECT_EQ(cut.pixels, (std::vector<uint8_t>{0, 1, 3, 4}));
    const TextBitmap broken = zb::CropTextBitmap(TextBitmap{4, 4, {0, 0}}, 10, 10);
    EXPECT_EQ(broken.width, 4);
    EXPECT_EQ(broken.pixels, std::vector<uint8_t>(16, 255));
    const TextBitmap negative = zb::CropTextBitmap(TextBitmap{-3, 5, {}}, 10, 10);
    EXPECT_EQ(negative.width, 0);
    EXPECT_TRUE(negative.pixels.empty());
}
