#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <utility>

#include "output/PicturePrintLayout.h"

using namespace zb;

namespace {

PicturePrintChoice Choice(PrintSizeMode mode, bool aspect, bool centred, int w = 50, int h = 50) {
    PicturePrintChoice c;
    c.mode = mode;
    c.keepAspect = aspect;
    c.centred = centred;
    c.widthPercent = w;
    c.heightPercent = h;
    return c;
}

} // namespace

TEST(PicturePrintLayout, PrintedRectangleOnThePage) {
    struct Case {
        const char* what;
        int64_t picW, picH, pageW, pageH;
        PicturePrintChoice choice;
        PixelRect want;
    };
    using M = PrintSizeMode;
    const Case cases[] = {
        {"400 x 300, full page, aspect, centred", 400, 300, 4800, 6600, Choice(M::FullPage, true, true),
         {0, 1500, 4800, 3600}},
        {"without aspect: stretched", 400, 300, 4800, 6600, Choice(M::FullPage, false, true), {0, 0, 4800, 6600}},
        {"50 % / 50 % centred", 400, 300, 4800, 6600, Choice(M::UserDefined, true, true), {1200, 1650, 2400, 3300}},
        {"50 % / 50 % at the corner", 400, 300, 4800, 6600, Choice(M::UserDefined, true, false), {0, 0, 2400, 3300}},
        {"tall picture: the height decides", 100, 1000, 4800, 6600, Choice(M::FullPage, true, true),
         {2070, 0, 660, 6600}},
        {"full page, aspect, not centred", 400, 300, 4800, 6600, Choice(M::FullPage, true, false), {0, 0, 4800, 3600}},
        // round(4761 * 50 / 100) = round(2380.5) = 2380, halves to even.
        {"percent rounds halves to even", 400, 300, 4761, 6601, Choice(M::UserDefined, false, false),
         {0, 0, 2380, 3300}},
        {"picture without pixels", 0, 300, 4800, 6600, Choice(M::FullPage, true, true), {}},
        // 60000 x 40000 on a 600 dpi page: products beyond 32 bits.
        {"large picture", 60000, 40000, 4800, 6600, Choice(M::FullPage, true, true), {0, 1700, 4800, 3200}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const PixelRect r = PicturePrintRect(c.picW, c.picH, c.pageW, c.pageH, c.choice);
        EXPECT_EQ((std::array{r.x, r.y, r.width, r.height}), (std::array{c.want.x, c.want.y, c.want.width, c.want.height}));
    }
}

TEST(PicturePrintLayout, PreviewOfThePageAndThePicture) {
    struct Case {
        const char* what;
        int64_t pageW, pageH;
        PixelRect want;
    };
    const Case pages[] = {
        {"portrait 4800 x 6600", 4800, 6600, {26, 0, 138, 190}},
        {"square counts as portrait", 5000, 5000, {0, 0, 190, 190}},
        {"landscape", 6600, 4800, {0, 26, 190, 138}},
    };
    for (const Case& c : pages) {
        SCOPED_TRACE(c.what);
        const PixelRect r = PreviewPageRect(190, c.pageW, c.pageH);
        EXPECT_EQ((std::array{r.x, r.y, r.width, r.height}), (std::array{c.want.x, c.want.y, c.want.width, c.want.height}));
    }
    // 400 x 300 on the portrait page picture of 138 x 190 at x0 = 26.
    const PixelRect full = PreviewPictureRect(190, 400, 300, 4800, 6600, Choice(PrintSizeMode::FullPage, true, true));
    // ph = 300 * 138 div 400 = 103, centred: (26 + 0, 0 + (190 - 103) div 2).
    EXPECT_EQ((std::array{full.x, full.y, full.width, full.height}), (std::array<int, 4>{26, 43, 138, 103}));
    const PixelRect user =
        PreviewPictureRect(190, 400, 300, 4800, 6600, Choice(PrintSizeMode::UserDefined, true, false, 50, 27));
    // pw = round(50 * 138 / 100) = 69, ph = round(27 * 190 / 100) = round(51.3) = 51, at (x0, y0).
    EXPECT_EQ((std::array{user.x, user.y, user.width, user.height}), (std::array<int, 4>{26, 0, 69, 51}));
}

TEST(PicturePrintLayout, CouplingOfThePercentages) {
    struct Case {
        const char* what;
        int64_t picW, picH;
        bool widthLeads;
        int given, current, want;
    };
    const Case cases[] = {
        {"width 50 gives height trunc(27.27)", 400, 300, true, 50, 50, 27},
        {"height 27 gives width trunc(49.5)", 400, 300, false, 27, 50, 49},
        {"width 49 gives height 26: the width leads", 400, 300, true, 49, 27, 26},
        {"tall picture: height above 100 stays 100", 100, 1000, true, 50, 50, 100},
        {"wide picture: height below 1 becomes 1", 10000, 10, true, 1, 50, 1},
        {"picture without pixels: unchanged", 0, 0, true, 50, 42, 42},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const int got = c.widthLeads ? CoupledHeightPercent(c.picW, c.picH, 4800, 6600, c.given, c.current)
                                     : CoupledWidthPercent(c.picW, c.picH, 4800, 6600, c.given, c.current);
        EXPECT_EQ(got, c.want);
    }
    // Whole ratios stay whole: 65 x 96 / 119 x 4760 / 6400 is exactly 39
    // (cut in extended precision without the rounding to double, 38).
    const struct {
        int64_t picW, picH, pageW, pageH;
        bool widthLeads;
        int given, want;
    } whole[] = {
        {119, 65, 4760, 6400, true, 96, 39},
        {289, 238, 4760, 6400, true, 80, 49},
        {65, 119, 6400, 4760, false, 96, 39},
    };
    for (const auto& c : whole) {
        SCOPED_TRACE(c.picW);
        EXPECT_EQ(c.widthLeads ? CoupledHeightPercent(c.picW, c.picH, c.pageW, c.pageH, c.given, 50)
                               : CoupledWidthPercent(c.picW, c.picH, c.pageW, c.pageH, c.given, 50),
                  c.want);
    }
}

// Over every picture up to 120 x 120 pixels, every percentage and two pages,
// the coupled field is the whole part of the exact ratio, limited to 1 .. 100:
// the quotients here never lie closer to a whole number than the rounding to
// double reaches, so exact integer arithmetic is the yardstick.
TEST(PicturePrintLayout, CouplingIsTheWholePartOfTheExactRatio) {
    const auto exact = [](int64_t num, int64_t den) { return int(std::clamp<int64_t>(num / den, 1, 100)); };
    int64_t checked = 0, wholeRatios = 0;
    for (const auto& [pageW, pageH] : {std::pair<int64_t, int64_t>{4760, 6400}, {4800, 6600}}) {
        for (int64_t w = 1; w <= 120; ++w) {
            for (int64_t h = 1; h <= 120; ++h) {
                for (int p = 1; p <= 100; ++p) {
                    const int64_t heightNum = h * p * pageW, heightDen = w * pageH;
                    const int64_t widthNum = w * p * pageH, widthDen = h * pageW;
                    wholeRatios += (heightNum % heightDen == 0) + (widthNum % widthDen == 0);
                    const int height = CoupledHeightPercent(w, h, pageW, pageH, p, 50);
                    const int width = CoupledWidthPercent(w, h, pageW, pageH, p, 50);
                    if (height != exact(heightNum, heightDen) || width != exact(widthNum, widthDen)) {
                        ADD_FAILURE() << w << " x " << h << " on " << pageW << " x " << pageH << " at " << p
                                      << " %: height " << height << ", width " << width;
                        return;
                    }
                    checked += 2;
                }
            }
        }
    }
    std::printf("%lld couplings checked, %lld of them whole ratios\n", (long long)checked, (long long)wholeRatios);
}
