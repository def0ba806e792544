#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "render/DesignSize.h"
#include "render/TextureTiling.h"

using zb::DesignRasterSize;
using zb::PaperSettings;
using zb::PrintablePage;
using zb::RasterSize;

namespace {

constexpr int32_t kIntMax = std::numeric_limits<int32_t>::max();

PaperSettings WholePage() {
    PaperSettings p;
    p.PrintAll = true;
    return p;
}

PaperSettings PartOfPage(double breit, double hoch) {
    PaperSettings p;
    p.PrintAll = false;
    p.Breit = breit;
    p.Hoch = hoch;
    return p;
}

} // namespace

TEST(DesignRasterSize, WholePrintablePage) {
    struct Case {
        PrintablePage page;
        int32_t targetPpi;
        double zoom;
        RasterSize expected;
    };
    const Case cases[] = {
        // A4 printable area at 600 dpi on a 96 ppi screen: 761.6 * 0.3 = 228.48.
        {{4760, 6779, 600}, 96, 30, {228, 325}},
        {{4760, 6779, 600}, 96, 100, {761, 1084}},
        {{4760, 6779, 600}, 96, 300, {2284, 3253}},
        // Printing at the printer's own resolution gives the page itself.
        {{4760, 6779, 600}, 600, 100, {4760, 6779}},
        // PW * s first, in integers, then extended precision: 96000 / 360
        // x 30 / 100 lands just below 80 (double rounded it up to 80).
        {{1000, 1000, 360}, 96, 30, {79, 79}},
        {{1008, 1008, 360}, 96, 250, {672, 672}},
        // Extended precision: (6460 x 96) / 600 x 250 / 100 is 2584 (double
        // gave 2583), and (1000 x 96) / 720 x 30 / 100 lands just below 40.
        {{1000, 6460, 600}, 96, 250, {400, 2584}},
        {{1000, 1000, 720}, 96, 30, {39, 39}},
        // A height computed with the horizontal resolution only: the page
        // record carries no vertical one.
        {{600, 1200, 300}, 72, 100, {144, 288}},
        // No printer, or one reporting no resolution or page: nothing to draw.
        {{4760, 6779, 0}, 96, 30, {0, 0}},
        {{0, 0, 600}, 96, 30, {0, 0}},
        {{4760, 6779, -600}, 96, 30, {0, 0}},
        // Far beyond any raster: held at the int range, so allocating fails
        // cleanly instead of wrapping around.
        {{kIntMax, kIntMax, 1}, 96, 300, {kIntMax, kIntMax}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "PW " << c.page.width << " PH " << c.page.height << " p " << c.page.ppi
                                        << " s " << c.targetPpi << " z " << c.zoom);
        EXPECT_EQ(DesignRasterSize(WholePage(), c.page, c.targetPpi, c.zoom), c.expected);
    }
}

TEST(DesignRasterSize, PartOfThePage) {
    struct Case {
        double breit, hoch;
        int32_t targetPpi;
        double zoom;
        RasterSize expected;
    };
    const Case cases[] = {
        // 17.5 cm: 175 / 25.39995 * 96 * 30 / 100 = 198.43; 28 cm: 317.48.
        {17.5, 28.0, 96, 30, {198, 317}},
        {17.5, 28.0, 96, 100, {661, 1058}},
        // 25.39995 mm to the inch, not 25.4 (which would give 1391 and 802).
        {36.83, 70.82, 96, 100, {1392, 2676}},
        {70.82, 36.83, 96, 30, {803, 417}},
        // The smallest sheet at the smallest zoom still has pixels.
        {1.0, 1.0, 96, 10, {3, 3}},
        {17.5, 28.0, 600, 100, {4133, 6614}},
        // Values only a foreign file can carry.
        {-5.0, 28.0, 96, 30, {0, 317}},
        {17.5, 28.0, 96, 0, {0, 0}},
        {1e300, 1e300, 96, 30, {kIntMax, kIntMax}},
        {std::numeric_limits<double>::quiet_NaN(), 28.0, 96, 30, {0, 317}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "W " << c.breit << " H " << c.hoch << " s " << c.targetPpi << " z "
                                        << c.zoom);
        // The printer plays no part here.
        EXPECT_EQ(DesignRasterSize(PartOfPage(c.breit, c.hoch), {4760, 6779, 600}, c.targetPpi, c.zoom),
                  c.expected);
        EXPECT_EQ(DesignRasterSize(PartOfPage(c.breit, c.hoch), {}, c.targetPpi, c.zoom), c.expected);
    }
}

TEST(TextureTileSize, FollowsPictureWidthAndAspect) {
    struct Case {
        int picW, picH;
        double widthMM, ppi, zoom;
        zb::TileSize expected;
    };
    const Case cases[] = {
        // 75 mm at 96 ppi, 30 %: 0.3 * 283.46 = 85.03 -> 85; height 85 * 64 / 128.
        {128, 64, 75.0, 96, 30, {85, 42}},
        // A tile width of exactly 10 pixels: 25.39995 mm at 100 ppi, 10 %.
        {100, 50, 25.39995, 100, 10, {10, 5}},
        // Tiny pictures and tiny tiles are raised to one pixel.
        {100, 1, 25.39995, 100, 10, {10, 1}},
        {10, 10, 0.1, 96, 10, {1, 1}},
        {10, 10, 0.0, 96, 30, {1, 1}},
        {10, 10, -20.0, 96, 30, {1, 1}},
        {10, 10, std::numeric_limits<double>::quiet_NaN(), 96, 30, {1, 1}},
        // 75 mm at 600 dpi, 100 %: 1771.65 -> 1771.
        {256, 256, 75.0, 600, 100, {1771, 1771}},
        // A width only a foreign file carries: one tile larger than any raster.
        {2, 4, 1e300, 96, 30, {kIntMax, int64_t(kIntMax) * 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.picW << " x " << c.picH << " at " << c.widthMM << " mm, " << c.ppi
                                        << " ppi, " << c.zoom << " %");
        EXPECT_EQ(zb::TextureTileSize(c.picW, c.picH, c.widthMM, c.ppi, c.zoom), c.expected);
    }
}
