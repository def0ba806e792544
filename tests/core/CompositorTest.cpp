#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "TestRaster.h"
#include "imaging/FilterTable.h"
#include "model/Design.h"
#include "render/Compositor.h"
#include "render/DesignViewPaint.h"
#include "render/GradientFill.h"
#include "render/LayerBlend.h"
#include "render/TextureTiling.h"

using zb::Compositor;
using zb::Design;
using zb::RasterSize;
using zb::RasterView;
using zb::RGBColor;
using zb::TLayerRecord;
using zb::test::TestRaster;

namespace {

TLayerRecord& AddLayer(Design& design, uint32_t kind, int32_t transparency = 0) {
    TLayerRecord& layer = design.Layers.Add();
    zb::SetLayerDefaults(layer);
    layer.Kind = kind;
    layer.Transparency = transparency;
    return layer;
}

TLayerRecord& AddGradient(Design& design, uint32_t c1, uint32_t c2, int32_t direction, int32_t transparency = 0) {
    TLayerRecord& layer = AddLayer(design, zb::kKindGradient, transparency);
    layer.GradientColor1 = c1;
    layer.GradientColor2 = c2;
    layer.GradientDirection = direction;
    return layer;
}

std::vector<uint8_t> Pixels(const RasterView& v) {
    std::vector<uint8_t> out;
    for (int y = 0; y < v.height; ++y) out.insert(out.end(), v.row(y), v.row(y) + v.width * 3);
    return out;
}

bool AllBytes(const RasterView& v, uint8_t value) {
    for (int y = 0; y < v.height; ++y)
        for (int i = 0; i < v.width * 3; ++i)
            if (v.row(y)[i] != value) return false;
    return true;
}

// Records what the pattern, filter and text generators were handed. The
// pattern fake draws random dots, so the result depends on the generator state.
struct GeneratorLog {
    int patternCalls = 0, filterCalls = 0, textCalls = 0;
    std::vector<int32_t> filterIndices;
    std::vector<uint8_t> groundSeenByPattern; // first pixel bytes at the call
    double ppi = 0, zoom = 0;
    bool filterFails = false;

    zb::LayerGenerators Generators() {
        zb::LayerGenerators g;
        g.pattern = [this](RasterView r, const TLayerRecord&, double ppiArg, double zoomArg, zb::RandomInt& random,
                           const zb::TileWrap&, const zb::SheetWindow&) {
            ++patternCalls;
            ppi = ppiArg;
            zoom = zoomArg;
            groundSeenByPattern.assign(r.pixel(0, 0), r.pixel(0, 0) + 3);
            for (int i = 0; i < 20; ++i) {
                uint8_t* p = r.pixel(random(r.width), random(r.height));
                p[0] = uint8_t(random(256));
                p[1] = 0;
                p[2] = 0;
            }
        };
        g.filter = [this](RasterView r, int32_t index, const zb::TileWrap&) {
            ++filterCalls;
            filterIndices.push_back(index);
            if (filterFails) return false;
            for (int y = 0; y < r.height; ++y)
                for (int i = 0; i < r.width * 3; ++i) r.row(y)[i] = uint8_t(255 - r.row(y)[i]);
            return true;
        };
        g.text = [this](RasterView r, const TLayerRecord&, double, double, zb::RandomInt&, zb::FontEngine&,
                        const zb::TileWrap&, const zb::SheetWindow&) {
            ++textCalls;
            r.pixel(0, 0)[0] = 1;
        };
        return g;
    }
};

class NoFonts : public zb::FontEngine {
public:
    const std::vector<std::string>& Families() override { return families_; }
    zb::TextBitmap Render(const std::string&, int, std::string_view) override { return {}; }

private:
    std::vector<std::string> families_{"Sans"};
};

constexpr RasterSize kSize{37, 23};

} // namespace

TEST(Compositor, BottomLayerIsOpaqueAndUpperLayersBlend) {
    Design design;
    const uint32_t a1 = RGBColor(255, 0, 0), a2 = RGBColor(0, 0, 255);
    const uint32_t b1 = RGBColor(10, 240, 70), b2 = RGBColor(200, 5, 160);
    const uint32_t c1 = RGBColor(0, 0, 0), c2 = RGBColor(255, 255, 255);
    // The bottom layer at track-bar position 10 still covers everything.
    AddGradient(design, a1, a2, 0, 5);
    AddGradient(design, b1, b2, 2, -2); // S = 3
    AddGradient(design, c1, c2, 3, -5); // S = 0: replaces
    AddGradient(design, a2, b1, 1, 0);  // S = 5: averages

    // The same composition layer by layer with the reference kernels; the
    // opaque third layer replaces what the first two made.
    TestRaster expected(kSize.width, kSize.height), layer(kSize.width, kSize.height);
    zb::FillGradientReference(expected.view(), c1, c2, 3);
    zb::FillGradientReference(layer.view(), a2, b1, 1);
    zb::BlendLayerReference(expected.view(), layer.view(), 5);

    Compositor compositor;
    ASSERT_EQ(compositor.EnsureSize(kSize), "");
    zb::RandomInt random(1);
    EXPECT_EQ(compositor.Compose(design, 96, 30, random, nullptr).message, "");
    EXPECT_TRUE(compositor.DesignValid());
    EXPECT_EQ(Pixels(compositor.DesignView()), Pixels(expected.view()));

    // The first two alone: an opaque bottom whatever its weight, S = 3 above.
    for (uint32_t top : {3u, 2u}) {
        design.Layers.Remove(top);
    }
    zb::FillGradientReference(expected.view(), a1, a2, 0);
    zb::FillGradientReference(layer.view(), b1, b2, 2);
    zb::BlendLayerReference(expected.view(), layer.view(), 3);
    compositor.Compose(design, 96, 30, random, nullptr);
    EXPECT_EQ(Pixels(compositor.DesignView()), Pixels(expected.view()));
}

TEST(Compositor, InvisibleUpperLayerLeavesTheDesignButItsGeneratorRuns) {
    GeneratorLog log;
    Compositor compositor(log.Generators());
    ASSERT_EQ(compositor.EnsureSize(kSize), "");
    Design design;
    AddGradient(design, RGBColor(1, 2, 3), RGBColor(200, 150, 100), 2);
    zb::RandomInt random(7);
    compositor.Compose(design, 96, 30, random, nullptr);
    const std::vector<uint8_t> gradientOnly = Pixels(compositor.DesignView());

    AddLayer(design, zb::kKindPattern, 5);
    AddGradient(design, 0, 0, 0, 5);
    random.setSeed(7);
    compositor.Compose(design, 96, 30, random, nullptr);
    EXPECT_EQ(Pixels(compositor.DesignView()), gradientOnly);
    // The pattern still drew its random numbers: later layers of the stack see
    // the same generator state whatever the transparency.
    EXPECT_EQ(log.patternCalls, 1);
    zb::RandomInt untouched(7);
    EXPECT_NE(random.seed(), untouched.seed());
}

TEST(Compositor, KindsDispatchToTheirGenerators) {
    GeneratorLog log;
    Compositor compositor(log.Generators());
    ASSERT_EQ(compositor.EnsureSize(kSize), "");
    NoFonts fonts;
    zb::RandomInt random(99);

    {
        // A bottom pattern works on white; it gets the target's ppi and zoom.
        Design design;
        AddLayer(design, zb::kKindPattern);
        EXPECT_EQ(compositor.Compose(design, 600, 100, random, &fonts).message, "");
        EXPECT_EQ(log.patternCalls, 1);
        EXPECT_EQ(log.groundSeenByPattern, (std::vector<uint8_t>{255, 255, 255}));
        EXPECT_EQ(log.ppi, 600);
        EXPECT_EQ(log.zoom, 100);
    }
    {
        // An upper pattern works on a copy of the design beneath.
        Design design;
        AddGradient(design, RGBColor(9, 8, 7), RGBColor(9, 8, 7), 0);
        AddLayer(design, zb::kKindPattern);
        compositor.Compose(design, 96, 30, random, &fonts);
        EXPECT_EQ(log.groundSeenByPattern, (std::vector<uint8_t>{7, 8, 9}));
    }
    {
        // A filter layer gets the stored index; an upper one filters the design
        // beneath, a bottom one filters white.
        Design design;
        AddLayer(design, zb::kKindFilter).FilterIndex = 4;
        AddLayer(design, zb::kKindFilter, -5).FilterIndex = 11;
        compositor.Compose(design, 96, 30, random, &fonts);
        EXPECT_EQ(log.filterIndices, (std::vector<int32_t>{4, 11}));
        // White inverted by the fake, then inverted again.
        EXPECT_TRUE(AllBytes(compositor.DesignView(), 255));
    }
    {
        // Text layers run only with a font engine; without one they show the
        // ground.
        Design design;
        AddLayer(design, zb::kKindText);
        compositor.Compose(design, 96, 30, random, nullptr);
        EXPECT_EQ(log.textCalls, 0);
        EXPECT_TRUE(AllBytes(compositor.DesignView(), 255));
        compositor.Compose(design, 96, 30, random, &fonts);
        EXPECT_EQ(log.textCalls, 1);
        EXPECT_EQ(compositor.DesignView().pixel(0, 0)[0], 1);
    }
}

TEST(Compositor, FilterWithoutMemoryKeepsItsGroundAndSaysSo) {
    GeneratorLog log;
    log.filterFails = true;
    Compositor compositor(log.Generators());
    ASSERT_EQ(compositor.EnsureSize(kSize), "");
    Design design;
    AddGradient(design, RGBColor(0, 0, 0), RGBColor(255, 255, 255), 1);
    AddLayer(design, zb::kKindFilter, -5);
    AddLayer(design, zb::kKindFilter, -5);
    zb::RandomInt random(1);
    // Reported once, though two layers failed.
    EXPECT_EQ(compositor.Compose(design, 96, 30, random, nullptr).message, zb::kFilterMemoryMessage);
    EXPECT_EQ(log.filterCalls, 2);
    EXPECT_TRUE(compositor.DesignValid());
    TestRaster gradient(kSize.width, kSize.height);
    zb::FillGradientReference(gradient.view(), RGBColor(0, 0, 0), RGBColor(255, 255, 255), 1);
    EXPECT_EQ(Pixels(compositor.DesignView()), Pixels(gradient.view()));

    // An invisible upper filter is not run at all (it draws no random numbers).
    Design invisible;
    AddGradient(invisible, 0, 0, 0);
    AddLayer(invisible, zb::kKindFilter, 5);
    EXPECT_EQ(compositor.Compose(invisible, 96, 30, random, nullptr).message, "");
    EXPECT_EQ(log.filterCalls, 2);
}

TEST(Compositor, UnknownKindShowsTheGround) {
    Compositor compositor;
    ASSERT_EQ(compositor.EnsureSize(kSize), "");
    zb::RandomInt random(1);
    Design bottom;
    AddLayer(bottom, 9);
    compositor.Compose(bottom, 96, 30, random, nullptr);
    EXPECT_TRUE(AllBytes(compositor.DesignView(), 255));

    Design upper;
    AddGradient(upper, RGBColor(1, 99, 201), RGBColor(250, 3, 17), 3);
    AddLayer(upper, 5, -5);
    AddLayer(upper, 0xFFFFFFFF, -3);
    compositor.Compose(upper, 96, 30, random, nullptr);
    TestRaster gradient(kSize.width, kSize.height);
    zb::FillGradientReference(gradient.view(), RGBColor(1, 99, 201), RGBColor(250, 3, 17), 3);
    EXPECT_EQ(Pixels(compositor.DesignView()), Pixels(gradient.view()));
}

TEST(Compositor, TextureLayerTilesItsPicture) {
    Compositor compositor;
    ASSERT_EQ(compositor.EnsureSize(kSize), "");
    zb::RandomInt random(1);
    Design design;
    TLayerRecord& layer = AddLayer(design, zb::kKindTexture);
    layer.LayerPicture = zb::DibPicture(6, 4, 24);
    ASSERT_NE(layer.LayerPicture.dib().Bits, nullptr);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) zb::setpixel(layer.LayerPicture.dib(), x, y, RGBColor(uint8_t(40 * x), uint8_t(60 * y), 5));
    layer.PictureWidthMM = 4.0; // 4 / 25.39995 * 96 * 50 / 100 = 7.55 -> 7 pixels

    compositor.Compose(design, 96, 50, random, nullptr);
    const zb::TileSize tile = zb::TextureTileSize(6, 4, 4.0, 96, 50);
    EXPECT_EQ(tile, (zb::TileSize{7, 4}));
    TestRaster expected(kSize.width, kSize.height);
    zb::TileTextureReference(expected.view(), zb::ViewOf(layer.LayerPicture), tile);
    EXPECT_EQ(Pixels(compositor.DesignView()), Pixels(expected.view()));

    // A texture layer whose picture is missing, or of 16 bits (no conversion
    // for it), shows its ground; 8-bit pictures are tiled through a 24-bit
    // copy (see the design file tests).
    layer.LayerPicture.reset();
    compositor.Compose(design, 96, 50, random, nullptr);
    EXPECT_TRUE(AllBytes(compositor.DesignView(), 255));
    layer.LayerPicture = zb::DibPicture(6, 4, 16);
    compositor.Compose(design, 96, 50, random, nullptr);
    EXPECT_TRUE(AllBytes(compositor.DesignView(), 255));
}

TEST(Compositor, SameSeedSameSheet) {
    GeneratorLog log;
    Compositor compositor(log.Generators());
    ASSERT_EQ(compositor.EnsureSize(kSize), "");
    Design design;
    AddGradient(design, RGBColor(0, 40, 80), RGBColor(200, 220, 240), 2);
    AddLayer(design, zb::kKindPattern, -1);
    AddLayer(design, zb::kKindPattern, 2);

    zb::RandomInt random(4242);
    compositor.Compose(design, 96, 30, random, nullptr);
    EXPECT_EQ(compositor.StartSeed(), 4242u);
    const uint32_t after = random.seed();
    EXPECT_NE(after, 4242u);
    const std::vector<uint8_t> first = Pixels(compositor.DesignView());

    // A second composition from the caller's generator gives a new sheet...
    compositor.Compose(design, 96, 30, random, nullptr);
    EXPECT_EQ(compositor.StartSeed(), after);
    EXPECT_NE(Pixels(compositor.DesignView()), first);

    // ...and composing from the remembered seed, here or in another
    // compositor (the way print and export do it), gives the first one again.
    EXPECT_EQ(compositor.ComposeFromSeed(design, 96, 30, 4242, nullptr).message, "");
    EXPECT_EQ(Pixels(compositor.DesignView()), first);
    Compositor other(log.Generators());
    ASSERT_EQ(other.EnsureSize(kSize), "");
    other.ComposeFromSeed(design, 96, 30, 4242, nullptr);
    EXPECT_EQ(Pixels(other.DesignView()), first);
    EXPECT_EQ(other.StartSeed(), 4242u);
}

TEST(Compositor, SizeChangesAndSizeZero) {
    Compositor compositor;
    Design design;
    AddGradient(design, 0, RGBColor(255, 255, 255), 0);
    zb::RandomInt random(5);
    EXPECT_EQ(compositor.Size(), (RasterSize{0, 0}));

    // Nothing to compose before there are rasters.
    EXPECT_EQ(compositor.Compose(design, 96, 30, random, nullptr).message, "");
    EXPECT_FALSE(compositor.DesignValid());
    EXPECT_EQ(random.seed(), 5u);

    ASSERT_EQ(compositor.EnsureSize(kSize), "");
    compositor.Compose(design, 96, 30, random, nullptr);
    EXPECT_TRUE(compositor.DesignValid());
    // The same size keeps the composition, a new one drops it.
    EXPECT_EQ(compositor.EnsureSize(kSize), "");
    EXPECT_TRUE(compositor.DesignValid());
    EXPECT_EQ(compositor.EnsureSize({kSize.width, kSize.height + 1}), "");
    EXPECT_FALSE(compositor.DesignValid());
    EXPECT_FALSE(compositor.HoldsComposition());
    EXPECT_EQ(zb::DibWidth(compositor.DesignRaster()), kSize.width);
    EXPECT_EQ(zb::DibHeight(compositor.DesignRaster()), kSize.height + 1);
    EXPECT_EQ(zb::DibBitCount(compositor.DesignRaster()), 24);

    for (RasterSize zero : {RasterSize{0, 10}, RasterSize{10, 0}, RasterSize{-3, 10}}) {
        EXPECT_EQ(compositor.EnsureSize(zero), "");
        EXPECT_EQ(compositor.Size(), (RasterSize{0, 0}));
        EXPECT_EQ(compositor.DesignRaster().Bits, nullptr);
        EXPECT_EQ(compositor.Compose(design, 96, 30, random, nullptr).message, "");
        EXPECT_FALSE(compositor.DesignValid());
    }
}

TEST(Compositor, UnallocatableSizeKeepsThePreviousComposition) {
    Compositor compositor;
    Design design;
    AddGradient(design, RGBColor(3, 2, 1), RGBColor(250, 251, 252), 2);
    zb::RandomInt random(5);
    ASSERT_EQ(compositor.EnsureSize(kSize), "");
    compositor.Compose(design, 96, 30, random, nullptr);
    const std::vector<uint8_t> before = Pixels(compositor.DesignView());

    EXPECT_EQ(compositor.EnsureSize({100000, 100000}),
              "Fehler: Nicht genug Speicher für die Entwurfsgrafik (100000 x 100000 Pixel)!");
    EXPECT_EQ(compositor.FailedSize(), (RasterSize{100000, 100000}));
    EXPECT_EQ(compositor.Size(), kSize);
    EXPECT_TRUE(compositor.DesignValid());
    EXPECT_TRUE(compositor.HoldsComposition());
    EXPECT_EQ(Pixels(compositor.DesignView()), before);

    // The compositor keeps working at the size it has.
    EXPECT_EQ(compositor.ComposeFromSeed(design, 96, 30, 1, nullptr).message, "");
    EXPECT_EQ(Pixels(compositor.DesignView()), before);
    EXPECT_EQ(compositor.EnsureSize({kSize.height, kSize.width}), "");
    EXPECT_EQ(compositor.FailedSize(), (RasterSize{0, 0}));
}

TEST(DesignViewPaint, TwoPassesAfterASizeChange) {
    GeneratorLog log;
    Compositor compositor(log.Generators());
    Design design;
    AddGradient(design, 0, RGBColor(255, 255, 255), 0);
    AddLayer(design, zb::kKindPattern, -5);
    zb::RandomInt random(11);
    const RasterSize size{40, 30};

    // The view is still at its old size: re-size, compose nothing.
    zb::DesignPaintResult first = zb::PaintDesignView(compositor, {320, 200}, size, design, 96, 30, random, nullptr);
    EXPECT_TRUE(first.resizeView);
    EXPECT_FALSE(first.draw);
    EXPECT_EQ(first.message, "");
    EXPECT_EQ(compositor.Size(), size);
    EXPECT_FALSE(compositor.DesignValid());
    EXPECT_EQ(log.patternCalls, 0);

    // The re-sized view paints again: compose and draw.
    zb::DesignPaintResult second = zb::PaintDesignView(compositor, size, size, design, 96, 30, random, nullptr);
    EXPECT_FALSE(second.resizeView);
    EXPECT_TRUE(second.draw);
    EXPECT_TRUE(compositor.DesignValid());
    EXPECT_EQ(log.patternCalls, 1);
    EXPECT_EQ(compositor.StartSeed(), 11u);
    const std::vector<uint8_t> sheet = Pixels(compositor.DesignView());

    // A plain repaint only draws the same picture.
    zb::DesignPaintResult repaint = zb::PaintDesignView(compositor, size, size, design, 96, 30, random, nullptr);
    EXPECT_TRUE(repaint.draw);
    EXPECT_EQ(log.patternCalls, 1);
    EXPECT_EQ(Pixels(compositor.DesignView()), sheet);

    // After an edit the next paint composes a new sheet.
    compositor.Invalidate();
    zb::PaintDesignView(compositor, size, size, design, 96, 30, random, nullptr);
    EXPECT_EQ(log.patternCalls, 2);
    EXPECT_NE(Pixels(compositor.DesignView()), sheet);
}

TEST(DesignViewPaint, FailedSizeIsReportedOnceAndTheOldSheetStays) {
    Compositor compositor;
    Design design;
    AddGradient(design, RGBColor(9, 9, 9), RGBColor(99, 99, 99), 1);
    zb::RandomInt random(1);
    const RasterSize small{20, 10}, absurd{200000, 100000};
    zb::PaintDesignView(compositor, {0, 0}, small, design, 96, 30, random, nullptr);
    zb::PaintDesignView(compositor, small, small, design, 96, 30, random, nullptr);
    ASSERT_TRUE(compositor.DesignValid());

    compositor.Invalidate(); // e.g. the zoom changed
    zb::DesignPaintResult first = zb::PaintDesignView(compositor, small, absurd, design, 96, 30, random, nullptr);
    EXPECT_TRUE(first.resizeView);
    EXPECT_EQ(first.message, zb::DesignMemoryMessage(absurd));
    zb::DesignPaintResult second = zb::PaintDesignView(compositor, absurd, absurd, design, 96, 30, random, nullptr);
    EXPECT_EQ(second.message, "");
    EXPECT_TRUE(second.draw); // the previous sheet, at its own size
    EXPECT_EQ(compositor.Size(), small);

    // Back to a size that fits: composed again.
    zb::PaintDesignView(compositor, absurd, small, design, 96, 30, random, nullptr);
    zb::DesignPaintResult back = zb::PaintDesignView(compositor, small, small, design, 96, 30, random, nullptr);
    EXPECT_TRUE(back.draw);
    EXPECT_TRUE(compositor.DesignValid());

    // A design of size 0 (no printer) draws nothing.
    zb::DesignPaintResult none = zb::PaintDesignView(compositor, small, {0, 0}, design, 96, 30, random, nullptr);
    EXPECT_TRUE(none.resizeView);
    none = zb::PaintDesignView(compositor, {0, 0}, {0, 0}, design, 96, 30, random, nullptr);
    EXPECT_FALSE(none.resizeView);
    EXPECT_FALSE(none.draw);
}

TEST(Compositor, EmptyStackIsBlankPaper) {
    Compositor compositor;
    ASSERT_EQ(compositor.EnsureSize(kSize), "");
    Design design;
    zb::RandomInt random(1);
    EXPECT_EQ(compositor.Compose(design, 96, 30, random, nullptr).message, "");
    EXPECT_TRUE(AllBytes(compositor.DesignView(), 255));
}

TEST(Compositor, ReportsProgressAfterEveryLayer) {
    Compositor compositor;
    ASSERT_EQ(compositor.EnsureSize(kSize), "");
    std::vector<std::pair<int, int>> calls;
    compositor.SetProgress([&](int done, int total) { calls.emplace_back(done, total); });
    Design design;
    AddGradient(design, RGBColor(0, 0, 0), RGBColor(255, 255, 255), 0);
    AddLayer(design, 9);
    AddGradient(design, RGBColor(9, 9, 9), RGBColor(7, 7, 7), 1, 2);
    zb::RandomInt random(3);
    compositor.Compose(design, 96, 30, random, nullptr);
    EXPECT_EQ(calls, (std::vector<std::pair<int, int>>{{1, 3}, {2, 3}, {3, 3}}));
}
