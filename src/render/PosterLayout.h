#pragma once
// A sheet larger than the printable page, spread over pages in rows and
// columns. Neighbouring pages share a glue strip: page (r, c + 1) starts
// `overlap` pixels before page (r, c) ends, so it is laid over that page's
// right strip (and page (r + 1, c) over its bottom strip). Whatever lies in
// those strips of the lower page is hidden once glued: the alignment lines
// and the page's label go there, and the joined pages show the sheet alone.
//
// All lengths are sheet pixels (square, at the printer's horizontal
// resolution); a page's own coordinates start at its piece's top-left corner,
// which printing puts at the printable area's top-left corner.
#include <string>
#include <vector>

#include "render/DesignSize.h"
#include "render/PageGeometry.h"

namespace zb {

// "Klebekante:" in centimetres.
inline constexpr double kDefaultOverlapCm = 1.0;
inline constexpr double kMinOverlapCm = 0.0;
inline constexpr double kMaxOverlapCm = 3.0;

// Where a page's label sits: in a glue strip that the neighbour covers, or,
// on a page without such a strip, in its bottom-right corner on white.
enum class PosterLabelPlace { BottomStrip, RightStrip, Corner };

struct PosterPage {
    int row = 1;    // counted from 1, top to bottom
    int column = 1; // counted from 1, left to right
    PixelRect source;                // the piece of the sheet this page prints
    std::vector<PixelRect> cutMarks; // thin lines, page coordinates
    PixelRect labelBox;              // page coordinates
    PosterLabelPlace labelPlace = PosterLabelPlace::Corner;
    std::string label;               // "Zeile r, Spalte c"
};

class PosterLayout {
public:
    struct Metrics {
        int overlap = 0;     // width of a glue strip
        int markWidth = 1;   // thickness of a cut mark
        int labelWidth = 1;  // room a label needs along its line
        int labelHeight = 1; // and across it; a thinner strip holds no label
    };

    PosterLayout() = default;
    // `page` is the printable area in sheet pixels. An overlap that leaves
    // no progress from page to page is reduced to one pixel less than the page.
    PosterLayout(RasterSize sheet, RasterSize page, Metrics metrics);

    // The sheet of `paper` at the printer's resolution on `page`, with an
    // overlap in centimetres (held within kMinOverlapCm .. kMaxOverlapCm).
    static PosterLayout ForPrinter(const PaperSettings& paper, const PrintablePage& page, double overlapCm);
    // The page count ForPrinter would give, without laying out the pages.
    static int64_t PageCountFor(const PaperSettings& paper, const PrintablePage& page, double overlapCm);

    int Columns() const { return columns_; }
    int Rows() const { return rows_; }
    int PageCount() const { return columns_ * rows_; }
    RasterSize Sheet() const { return sheet_; }
    int Overlap() const { return metrics_.overlap; }
    // Row by row, left to right within a row.
    const std::vector<PosterPage>& Pages() const { return pages_; }

    // Each page's piece scaled onto `target`, where the whole sheet is drawn
    // (the preview's page grid).
    std::vector<PixelRect> PieceOutlines(PixelRect target) const;

private:
    RasterSize sheet_;
    Metrics metrics_;
    int columns_ = 0;
    int rows_ = 0;
    std::vector<PosterPage> pages_;
};

// Empty when a glue strip of `overlapCm` leaves room to print on `page`;
// otherwise the German refusal saying that the strip takes the whole page.
std::string OverlapProblem(const PrintablePage& page, double overlapCm);

// "Zeile 2, Spalte 3".
std::string PosterPageLabel(int row, int column);

} // namespace zb
