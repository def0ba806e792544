// Composing a sheet window by window: every band and rectangle must be the
// whole sheet's pixels, byte for byte, and the generator must end where the
// whole sheet's does.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "TestRaster.h"
#include "TestSeed.h"
#include "imaging/FilterTable.h"
#include "model/Design.h"
#include "model/LayerChoices.h"
#include "render/BandComposer.h"
#include "render/Compositor.h"

using namespace zb;
using zb::test::TestRaster;

namespace {

// Texts as slanted bars, one per character, so copies cut at a window edge
// show whether they were cut in the right column.
class SlantFonts : public FontEngine {
public:
    const std::vector<std::string>& Families() override { return families_; }
    TextBitmap Render(const std::string& family, int pixelHeight, std::string_view text) override {
        TextBitmap b;
        b.height = std::max(pixelHeight, 1) + int(family.size() % 2);
        const int cell = b.height / 2 + 2;
        b.width = int(text.size()) * cell;
        b.pixels.assign(size_t(b.width) * size_t(b.height), 255);
        for (int y = 0; y < b.height; ++y)
            for (int x = 0; x < b.width; ++x)
                if ((x + y / 2) % cell < cell - 1) b.pixels[size_t(y) * size_t(b.width) + size_t(x)] = 0;
        return b;
    }

private:
    std::vector<std::string> families_{"Eins", "Zwei", "Drei"};
};

int Pick(std::mt19937& rng, int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }

// A stack of 1 .. 6 layers of any kind with any settings.
void RandomStack(std::mt19937& rng, Design& design) {
    const int count = Pick(rng, 1, 6);
    for (int i = 0; i < count; ++i) {
        TLayerRecord& layer = design.Layers.Add();
        SetLayerDefaults(layer);
        layer.Kind = uint32_t(Pick(rng, kKindGradient, kKindText));
        // Filters come often, so stacks of two and three occur.
        if (Pick(rng, 0, 3) == 0) layer.Kind = kKindFilter;
        layer.Transparency = Pick(rng, kTransparencyMin, kTransparencyMax);
        layer.GradientColor1 = uint32_t(rng()) & 0xFFFFFF;
        layer.GradientColor2 = uint32_t(rng()) & 0xFFFFFF;
        layer.GradientDirection = Pick(rng, 0, 3);
        layer.PatternShape = Pick(rng, kShapeDiscs, kShapeStripes2);
        layer.PatternColorMode = Pick(rng, kColorRandom, kColorSingle);
        layer.PatternSizeMode = Pick(rng, kPatternSizeRandom, kPatternSizeFixed);
        layer.PatternPosMode = Pick(rng, kPositionRandom, kPositionRegular);
        layer.PatternCount = Pick(rng, 1, 60);
        layer.PatternColor = uint32_t(rng()) & 0xFFFFFF;
        layer.PatternSizeMM = Pick(rng, 1, 80) / 10.0;
        layer.FilterIndex = Pick(rng, 0, kFilterCount - 1);
        layer.TextColorMode = Pick(rng, kColorRandom, kColorSingle);
        layer.TextColor = uint32_t(rng()) & 0xFFFFFF;
        layer.TextSize = Pick(rng, 2, 14);
        layer.TextSizeMode = Pick(rng, kTextSizeRandom, kTextSizeChosen);
        layer.TextPosMode = Pick(rng, kPositionRandom, kPositionRegular);
        layer.TextFontMode = Pick(rng, kFontRandom, kFontChosen);
        layer.TextCount = Pick(rng, 0, kTextCountMax);
        layer.FontName = "Vier";
        layer.LayerText = std::string(size_t(Pick(rng, 1, 4)), 'x');
        if (layer.Kind == kKindTexture) {
            layer.LayerPicture = DibPicture(Pick(rng, 1, 9), Pick(rng, 1, 7), 24);
            const RasterView picture = ViewOf(layer.LayerPicture);
            for (int y = 0; y < picture.height; ++y)
                for (int x = 0; x < picture.width * 3; ++x) picture.row(y)[x] = uint8_t(rng());
            layer.PictureWidthMM = Pick(rng, 5, 120) / 10.0;
        }
    }
}

} // namespace

TEST(BandComposition, EveryBandAndRectangleIsTheWholeSheetsPart) {
    const uint32_t seed = zb::test::TestSeed();
    std::mt19937 rng(seed);
    const RasterSize sizes[] = {{37, 53}, {64, 41}, {1, 9}, {11, 1}};
    SlantFonts fonts;
    for (int trial = 0; trial < 60; ++trial) {
        Design design;
        RandomStack(rng, design);
        const RasterSize sheet = sizes[trial % 4];
        // Every fifth stack a seamless tile, whose windows come from the whole tile.
        design.Paper.Seamless = trial % 5 == 4;
        design.Paper.Repeat = RepeatModeOf(Pick(rng, 0, 2));
        const double scale = double(Pick(rng, 1, 3));
        const uint32_t start = uint32_t(rng());
        const double ppi = 96, zoom = Pick(rng, 50, 150);
        SCOPED_TRACE(testing::Message() << "ZB_TEST_SEED=" << seed << " trial " << trial << " layers "
                                        << design.Layers.size() << " scale " << scale << " seamless "
                                        << design.Paper.Seamless);

        Compositor whole;
        whole.SetFilterScale(scale);
        ASSERT_EQ(whole.EnsureSize(sheet), "");
        RandomInt random(start);
        const std::string expectedMessage = whole.Compose(design, ppi, zoom, random, &fonts).message;
        const RasterView expected = whole.DesignView();

        BandComposer bands(design, sheet, ppi, zoom, start, &fonts);
        bands.SetFilterScale(scale);
        // Before any window the end state comes from replaying the draws.
        if (trial % 2 == 0) {
            EXPECT_EQ(bands.EndSeed(), random.seed());
        }

        auto check = [&](int left, int top, int width, int height) {
            TestRaster out(width, height);
            ASSERT_EQ(bands.ComposeWindow(left, top, out.view()).message, expectedMessage);
            for (int y = 0; y < height; ++y)
                ASSERT_EQ(std::memcmp(out.view().row(y), expected.pixel(left, top + y), size_t(width) * 3), 0)
                    << "window " << width << " x " << height << " at " << left << ", " << top << ": row " << y;
            ASSERT_TRUE(out.paddingIntact());
        };
        for (const int rows : {1, 2, 5, 13})
            for (int top = 0; top < sheet.height; top += rows)
                check(0, top, sheet.width, std::min(rows, sheet.height - top));
        for (int i = 0; i < 8; ++i) {
            const int left = Pick(rng, 0, sheet.width - 1), top = Pick(rng, 0, sheet.height - 1);
            check(left, top, Pick(rng, 1, sheet.width - left), Pick(rng, 1, sheet.height - top));
        }
        EXPECT_EQ(bands.EndSeed(), random.seed());
    }
}

// Counts what the platform is asked to render.
class CountingFonts : public SlantFonts {
public:
    TextBitmap Render(const std::string& family, int pixelHeight, std::string_view text) override {
        ++renders;
        return SlantFonts::Render(family, pixelHeight, text);
    }
    int renders = 0;
};

// A band renders no text and walks no cell its sheet has walked: however
// the sheet is cut, the texts are rendered as often as for the whole sheet.
TEST(BandComposition, TextsAreRenderedOncePerSheet) {
    Design design;
    for (const int32_t fontMode : {kFontRandom, kFontChosen}) {
        TLayerRecord& layer = design.Layers.Add();
        SetLayerDefaults(layer);
        layer.Kind = kKindText;
        layer.LayerText = "xy";
        layer.TextFontMode = fontMode;
        layer.TextSizeMode = kTextSizeRandom;
        layer.TextSize = 12;
        layer.TextCount = kTextCountMax;
    }
    const RasterSize sheet{160, 120};
    CountingFonts wholeFonts;
    Compositor whole;
    ASSERT_EQ(whole.EnsureSize(sheet), "");
    RandomInt random(77);
    ASSERT_TRUE(whole.Compose(design, 96, 100, random, &wholeFonts).ok());
    ASSERT_GT(wholeFonts.renders, 4);
    for (const int rows : {1, 7, 120}) {
        CountingFonts fonts;
        BandComposer bands(design, sheet, 96, 100, 77, &fonts);
        for (int top = 0; top < sheet.height; top += rows) {
            TestRaster out(sheet.width, std::min(rows, sheet.height - top));
            ASSERT_TRUE(bands.ComposeWindow(0, top, out.view()).ok());
        }
        EXPECT_EQ(fonts.renders, wholeFonts.renders) << "bands of " << rows << " rows";
        EXPECT_EQ(bands.EndSeed(), random.seed());
    }
}

TEST(BandComposition, AWindowOutsideTheSheetIsRefusedAndLeavesItsTarget) {
    Design design;
    SetLayerDefaults(design.Layers.Add());
    BandComposer bands(design, {30, 20}, 96, 100, 5, nullptr);
    TestRaster out(10, 10);
    EXPECT_NE(bands.ComposeWindow(25, 0, out.view()).message, "");
    EXPECT_NE(bands.ComposeWindow(0, -1, out.view()).message, "");
    EXPECT_EQ(std::vector<uint8_t>(out.view().row(0), out.view().row(0) + 30), std::vector<uint8_t>(30, 0xCD));
}

TEST(BandComposition, MarginAddsTheReachOfEachFilterThatRuns) {
    Design design;
    for (const int32_t transparency : {0, 0, 5, -3}) {
        TLayerRecord& layer = design.Layers.Add();
        SetLayerDefaults(layer);
        layer.Kind = kKindFilter;
        layer.Transparency = transparency;
    }
    // The bottom filter always runs; the invisible third one is left out.
    design.Layers[1].Kind = kKindGradient;
    struct Case {
        double scale;
        int margin;
    };
    const Case cases[] = {{1, 4}, {2, 10}, {2.6, 14}, {3, 14}, {16, 30}};
    for (const Case& c : cases) {
        BandComposer bands(design, {30, 20}, 600, 100, 1, nullptr);
        bands.SetFilterScale(c.scale);
        EXPECT_EQ(bands.Margin(), c.margin) << "scale " << c.scale;
    }
}

TEST(BandComposition, WhichSheetsGoInBandsAndHowHighTheBandsAre) {
    const bool always = ForcedBandRows() > 0;
    PaperSettings plain, seamless;
    seamless.Seamless = true;
    struct Case {
        const PaperSettings* paper;
        RasterSize sheet;
        bool bands;
    };
    const Case cases[] = {
        {&plain, {8192, 8192}, always},          // exactly the limit
        {&plain, {8192, 8193}, true},            // one row more
        {&plain, {23622, 23622}, true},          // 100 x 100 cm at 600 dpi
        {&seamless, {23622, 23622}, false},      // a tile is composed whole
        {&plain, {0, 100}, false},
        {&plain, {37, 53}, always},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ComposedInBands(*c.paper, c.sheet), c.bands) << c.sheet.width << " x " << c.sheet.height;

    if (always) {
        EXPECT_EQ(BandRows(23622), ForcedBandRows());
    } else {
        // About 16 megapixels a band (100 x 100 cm at 600 dpi: 710 rows), at least one row.
        EXPECT_EQ(BandRows(23622), 710);
        EXPECT_EQ(BandRows(40000000), 1);
    }
}
