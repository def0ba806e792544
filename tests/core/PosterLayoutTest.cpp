#include <gtest/gtest.h>

#include "render/PosterLayout.h"

namespace {

using zb::PixelRect;
using zb::PosterLabelPlace;
using zb::PosterLayout;
using zb::RasterSize;

// The printer's A4 page that stands in when none is installed.
constexpr zb::PrintablePage kA4StandIn{4760, 6779, 600, 0};

// The number of pages: columns = ceil((W - o) / (P_w - o)), rows likewise,
// in sheet pixels; and the printer's sheets in centimetres on the A4 stand-in
// (4760 x 6779 pixels at 600 dpi, 20,15 x 28,70 cm printable) and on an A4
// page printed to its very edge (21 x 29,7 cm).
TEST(PosterLayout, PageCount) {
    struct Case {
        const char* what;
        RasterSize sheet, page;
        int overlap, columns, rows;
    } cases[] = {
        {"smaller than the page", {1000, 800}, {4760, 6779}, 236, 1, 1},
        {"exactly the page", {4760, 6779}, {4760, 6779}, 236, 1, 1},
        {"narrower than the overlap", {50, 60}, {1000, 1000}, 100, 1, 1},
        {"overlap 0", {3000, 2000}, {1000, 1000}, 0, 3, 2},
        {"overlap 0, one pixel more", {3001, 2001}, {1000, 1000}, 0, 4, 3},
        {"two pages exactly", {1900, 1000}, {1000, 1000}, 100, 2, 1},
        {"one pixel beyond two pages", {1901, 1000}, {1000, 1000}, 100, 3, 1},
        {"overlap as large as the page is held below it", {1500, 10}, {1000, 1000}, 5000, 501, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const PosterLayout l(c.sheet, c.page, {c.overlap, 1, 1, 1});
        EXPECT_EQ(l.Columns(), c.columns);
        EXPECT_EQ(l.Rows(), c.rows);
        EXPECT_EQ(int(l.Pages().size()), c.columns * c.rows);
    }

    struct Sheet {
        const char* what;
        double breit, hoch, overlapCm;
        zb::PrintablePage page;
        int columns, rows;
    } sheets[] = {
        {"60 x 40 cm, A4 stand-in, 1 cm", 60, 40, 1, kA4StandIn, 4, 2},
        {"100 x 100 cm, A4 stand-in, 1 cm", 100, 100, 1, kA4StandIn, 6, 4},
        {"100 x 100 cm, A4 to the edge, 1 cm", 100, 100, 1, {4960, 7015, 600, 600}, 5, 4},
        {"100 x 100 cm, A4 stand-in, no overlap", 100, 100, 0, kA4StandIn, 5, 4},
        {"overlap above 3 cm counts as 3 cm", 60, 40, 9, kA4StandIn, 4, 2},
        {"1 x 1 cm", 1, 1, 3, kA4StandIn, 1, 1},
        {"600 x 1200 dpi: rows in square pixels", 60, 40, 1, {4760, 13558, 600, 1200}, 4, 2},
    };
    for (const Sheet& s : sheets) {
        SCOPED_TRACE(s.what);
        zb::PaperSettings paper;
        paper.PrintAll = false;
        paper.Breit = s.breit;
        paper.Hoch = s.hoch;
        const PosterLayout l = PosterLayout::ForPrinter(paper, s.page, s.overlapCm);
        EXPECT_EQ(l.Columns(), s.columns);
        EXPECT_EQ(l.Rows(), s.rows);
        EXPECT_EQ(PosterLayout::PageCountFor(paper, s.page, s.overlapCm), s.columns * s.rows);
    }
}

// A glue strip as wide as the printable page, or as high, leaves nothing to
// print: refused, saying so with both sizes.
TEST(PosterLayout, AGlueStripThatTakesThePageIsRefused) {
    struct Case {
        zb::PrintablePage page;
        double overlapCm;
        const char* refusal; // empty: accepted
    } cases[] = {
        {kA4StandIn, 3, ""},
        {{236, 236, 600, 600}, 0.7, ""},
        {{100, 100, 600, 600}, 0.7, "Die Klebekante von 0,7 cm ist so breit wie die druckbare Seite (0,4 x 0,4 cm)"},
        {{6000, 236, 600, 600}, 1, "(25,4 x 1,0 cm)"},
        {{236, 472, 600, 1200}, 1, "(1,0 x 1,0 cm)"},
    };
    for (const Case& c : cases) {
        const std::string refusal = zb::OverlapProblem(c.page, c.overlapCm);
        SCOPED_TRACE(refusal);
        EXPECT_EQ(refusal.empty(), std::string(c.refusal).empty());
        EXPECT_NE(refusal.find(c.refusal), std::string::npos);
    }
}

// Every page's piece: within the page, neighbours sharing exactly the glue
// strip, the last ones ending at the sheet's edge; the lines and the label in
// the strips the neighbours cover, the label in the corner where there is none.
TEST(PosterLayout, PiecesMarksAndLabels) {
    struct Case {
        const char* what;
        RasterSize sheet, page;
        int overlap;
    } cases[] = {
        {"three by two", {2500, 1700}, {1000, 1000}, 100},
        {"overlap 0", {3001, 1000}, {1000, 1000}, 0},
        {"strip too thin for the label", {1500, 1500}, {1000, 1000}, 20},
        {"one page", {700, 500}, {1000, 1000}, 100},
    };
    const int markWidth = 3, labelWidth = 400, labelHeight = 50;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const PosterLayout l(c.sheet, c.page, {c.overlap, markWidth, labelWidth, labelHeight});
        const int o = c.overlap;
        for (const zb::PosterPage& p : l.Pages()) {
            SCOPED_TRACE(p.label);
            EXPECT_EQ(p.label, "Zeile " + std::to_string(p.row) + ", Spalte " + std::to_string(p.column));
            const bool right = p.column < l.Columns(), below = p.row < l.Rows();
            EXPECT_EQ(p.source.x, (p.column - 1) * (c.page.width - o));
            EXPECT_EQ(p.source.y, (p.row - 1) * (c.page.height - o));
            EXPECT_EQ(p.source.width, right ? c.page.width : c.sheet.width - p.source.x);
            EXPECT_EQ(p.source.height, below ? c.page.height : c.sheet.height - p.source.y);
            EXPECT_LE(p.source.width, c.page.width);
            EXPECT_GT(p.source.width, o);

            std::vector<PixelRect> marks;
            if (right && o > 0) marks.push_back({p.source.width - o, 0, markWidth, p.source.height});
            if (below && o > 0) marks.push_back({0, p.source.height - o, p.source.width, markWidth});
            EXPECT_EQ(p.cutMarks, marks);

            if (below && o >= labelHeight) {
                EXPECT_EQ(p.labelPlace, PosterLabelPlace::BottomStrip);
                EXPECT_EQ(p.labelBox, (PixelRect{0, p.source.height - o, labelWidth, o}));
            } else if (right && o >= labelHeight) {
                EXPECT_EQ(p.labelPlace, PosterLabelPlace::RightStrip);
                EXPECT_EQ(p.labelBox, (PixelRect{p.source.width - o, 0, o, labelWidth}));
            } else {
                EXPECT_EQ(p.labelPlace, PosterLabelPlace::Corner);
                const int w = std::min(labelWidth, p.source.width), h = std::min(labelHeight, p.source.height);
                EXPECT_EQ(p.labelBox, (PixelRect{p.source.width - w, p.source.height - h, w, h}));
            }
        }
        ASSERT_FALSE(l.Pages().empty());
        const PixelRect& last = l.Pages().back().source;
        EXPECT_EQ(last.x + last.width, c.sheet.width);
        EXPECT_EQ(last.y + last.height, c.sheet.height);
    }
}

// The preview's grid: the pieces scaled onto the design's rectangle.
TEST(PosterLayout, PieceOutlinesOnThePreview) {
    const PosterLayout l({2000, 1000}, {1100, 1000}, {200, 1, 1, 1});
    ASSERT_EQ(l.PageCount(), 2);
    EXPECT_EQ(l.PieceOutlines({10, 20, 200, 100}),
              (std::vector<PixelRect>{{10, 20, 110, 100}, {100, 20, 110, 100}}));
    EXPECT_TRUE(PosterLayout().PieceOutlines({0, 0, 10, 10}).empty());
}

} // namespace
