#include <gtest/gtest.h>

#include "render/DesignSize.h"
#include "render/PageGeometry.h"

using zb::PaperSettings;
using zb::PixelRect;
using zb::PrintablePage;
using zb::RasterSize;

namespace {

PaperSettings Paper(bool all, double breit, double hoch, double randX = 0, double randY = 0) {
    PaperSettings p;
    p.PrintAll = all;
    p.Breit = breit;
    p.Hoch = hoch;
    p.RandX = randX;
    p.RandY = randY;
    return p;
}

} // namespace

TEST(PageGeometry, PrintableSizeLine) {
    struct Case {
        PrintablePage page;
        char separator;
        const char* line;
    };
    const Case cases[] = {
        {{4760, 6779, 600}, ',', "Maximal druckbare Größe: 20,15 cm x 28,70 cm"},
        {{4760, 6779, 600}, '.', "Maximal druckbare Größe: 20.15 cm x 28.70 cm"},
        // The height with the vertical resolution: 600 x 1200 dpi.
        {{4760, 13558, 600, 1200}, ',', "Maximal druckbare Größe: 20,15 cm x 28,70 cm"},
        {{0, 0, 0}, ',', "Maximal druckbare Größe: 0,00 cm x 0,00 cm"},
    };
    for (const Case& c : cases) EXPECT_EQ(zb::PrintableSizeLine(c.page, c.separator), c.line);
    EXPECT_EQ(zb::FallbackPrintableSizeLine({4760, 6779, 600}),
              "Maximal druckbare Größe: 20,15 cm x 28,70 cm (kein Drucker eingerichtet: Ausdruck als PDF-Datei, A4, "
              "600 dpi)");
}

// The design raster uses each axis's own printer resolution; with equal
// resolutions nothing changes.
TEST(PageGeometry, RasterSizePerAxis) {
    struct Case {
        PaperSettings paper;
        PrintablePage page;
        int32_t ppi;
        double zoom;
        RasterSize size;
    };
    const Case cases[] = {
        {Paper(true, 17.5, 28), {4760, 6779, 600}, 96, 30, {228, 325}},
        {Paper(true, 17.5, 28), {4760, 6779, 600, 600}, 96, 30, {228, 325}},
        {Paper(false, 17.5, 28), {4760, 6779, 600}, 96, 30, {198, 317}},
        // 8 x 11 inches at 600 x 1200 dpi: 768 x 1056 at 100 % (not 2112 high).
        {Paper(true, 17.5, 28), {4800, 13200, 600, 1200}, 96, 100, {768, 1056}},
        // Composed for that printer: square pixels at its horizontal 600 ppi.
        {Paper(true, 17.5, 28), {4800, 13200, 600, 1200}, 600, 100, {4800, 6600}},
        // Part of the page does not depend on the printer.
        {Paper(false, 17.5, 28), {4800, 13200, 600, 1200}, 96, 30, {198, 317}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.page.width << " x " << c.page.height << " at " << c.page.ppi << " x "
                                        << c.page.ppiY << ", s " << c.ppi << ", z " << c.zoom);
        EXPECT_EQ(zb::DesignRasterSize(c.paper, c.page, c.ppi, c.zoom), c.size);
    }
}

TEST(PageGeometry, PreviewLayout) {
    struct Case {
        const char* what;
        PaperSettings paper;
        PrintablePage page;
        double zoom;
        RasterSize pagePicture;
        PixelRect design;
    };
    const Case cases[] = {
        {"768 px wide at 100 %", Paper(true, 17.5, 28), {4800, 6600, 600}, 100, {768, 1056}, {0, 0, 768, 1056}},
        // 4760 * 96 div 600 = 761 (761.6), then 30 %: 228.3; the page picture
        // keeps the fraction: 228.48 -> 228. The height: 6779 * 96 div 600 =
        // 1084 -> 325.2 -> 325, page 325.43 -> 325.
        {"A4 whole page at 30 %", Paper(true, 17.5, 28), {4760, 6779, 600}, 30, {228, 325}, {0, 0, 228, 325}},
        // Whole-number division first: 761 * 3 = 2283, the page 2284.8 -> 2284.
        {"strip from the whole-number division", Paper(true, 17.5, 28), {4760, 6779, 600}, 300, {2284, 3253},
         {0, 0, 2283, 3252}},
        // Margins shift the design; it keeps its size (cut at the page).
        {"margins 1 cm and 2 cm at 100 %", Paper(true, 17.5, 28, 1, 2), {4760, 6779, 600}, 100, {761, 1084},
         {37, 75, 761, 1084}},
        {"part of the page, 17.5 x 28 cm at 30 %", Paper(false, 17.5, 28), {4760, 6779, 600}, 30, {228, 325},
         {0, 0, 198, 317}},
        {"larger than the page: not shrunk", Paper(false, 100, 100), {4760, 6779, 600}, 30, {228, 325},
         {0, 0, 1133, 1133}},
        {"vertical resolution of its own", Paper(true, 17.5, 28), {4800, 13200, 600, 1200}, 50, {384, 528},
         {0, 0, 384, 528}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const zb::PreviewLayout l = zb::PreviewPageLayout(c.paper, c.page, 96, c.zoom);
        EXPECT_EQ(l.page, c.pagePicture);
        EXPECT_EQ(l.design, c.design);
    }
}

TEST(PageGeometry, PrintLayout) {
    struct Case {
        const char* what;
        PaperSettings paper;
        PrintablePage page;
        PixelRect design;
        PixelRect visible;
        RasterSize raster;
    };
    const Case cases[] = {
        {"whole page", Paper(true, 17.5, 28), {4760, 6779, 600}, {0, 0, 4760, 6779}, {0, 0, 4760, 6779},
         {4760, 6779}},
        // 1 cm = 236.22 printer pixels at 600 dpi: the design shifts, is cut.
        {"whole page with margins", Paper(true, 17.5, 28, 1, 1), {4760, 6779, 600}, {236, 236, 4760, 6779},
         {236, 236, 4524, 6543}, {4760, 6779}},
        {"part of the page", Paper(false, 17.5, 28, 0.5, 0), {4760, 6779, 600}, {118, 0, 4133, 6614},
         {118, 0, 4133, 6614}, {4133, 6614}},
        {"larger than the printable area", Paper(false, 100, 100, 0, 0), {4760, 6779, 600}, {0, 0, 23622, 23622},
         {0, 0, 4760, 6779}, {23622, 23622}},
        // 600 x 1200 dpi: twice the rows for the same centimetres; the raster
        // has square pixels and is stretched to the rectangle.
        {"600 x 1200 dpi, part", Paper(false, 17.5, 28, 1, 1), {4800, 13200, 600, 1200}, {236, 472, 4133, 13228},
         {236, 472, 4133, 12728}, {4133, 6614}},
        {"600 x 1200 dpi, whole", Paper(true, 17.5, 28), {4800, 13200, 600, 1200}, {0, 0, 4800, 13200},
         {0, 0, 4800, 13200}, {4800, 6600}},
        {"no printer", Paper(true, 17.5, 28), {0, 0, 0}, {}, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const zb::PrintLayout l = zb::PrintPageLayout(c.paper, c.page);
        EXPECT_EQ(l.design, c.design);
        EXPECT_EQ(l.visible, c.visible);
        EXPECT_EQ(l.raster, c.raster);
    }
}

TEST(PageGeometry, FilterScale) {
    EXPECT_DOUBLE_EQ(zb::FilterScale(600, 96, 100), 6.25);
    EXPECT_NEAR(zb::FilterScale(600, 96, 30), 20.833, 0.001);
    EXPECT_DOUBLE_EQ(zb::FilterScale(96, 96, 300), 1.0); // below 1 counts as 1
    EXPECT_DOUBLE_EQ(zb::FilterScale(600, 0, 30), 1.0);
}

// "Ganze Seite": the largest zoom whose page picture fits the view.
TEST(PageGeometry, WholePageZoomFitsThePageIntoTheView) {
    const PrintablePage a4{4760, 6779, 600, 600};
    zb::PaperSettings paper;
    struct Case {
        int width, height, zoom;
    } cases[] = {
        {800, 600, 55},   // 761.6 x 1084.64 at 100 %: the height decides
        {400, 2000, 52},  // the width decides
        {5000, 5000, 300},
        {10, 10, 10},     // nothing fits: the smallest zoom
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        const int zoom = zb::WholePageZoom(paper, a4, 96, c.width, c.height, 10, 300);
        EXPECT_EQ(zoom, c.zoom);
        if (zoom > 10 && zoom < 300) {
            const zb::RasterSize fit = zb::PreviewPageLayout(paper, a4, 96, zoom).page;
            const zb::RasterSize over = zb::PreviewPageLayout(paper, a4, 96, zoom + 1).page;
            EXPECT_TRUE(fit.width <= c.width && fit.height <= c.height);
            EXPECT_TRUE(over.width > c.width || over.height > c.height);
        }
    }
}
