#include "render/PosterLayout.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace zb {

namespace {

// Pieces along one axis: ceil((length - overlap) / (page - overlap)), at least one.
int PieceCount(int length, int page, int overlap) {
    if (length <= page) return 1;
    const int step = page - overlap;
    return (length - overlap + step - 1) / step;
}

} // namespace

namespace {

// "0,7" : centimetres with one decimal, as the fields show them.
std::string Centimetres(double cm) {
    const long tenths = std::lround(cm * 10);
    return std::to_string(tenths / 10) + "," + std::to_string(tenths % 10);
}

} // namespace

std::string OverlapProblem(const PrintablePage& page, double overlapCm) {
    const int32_t ppiY = VerticalPpi(page);
    if (page.ppi <= 0 || ppiY <= 0) return {};
    const int overlap = CentimetresToPixels(std::clamp(overlapCm, kMinOverlapCm, kMaxOverlapCm), page.ppi);
    const int height = int(int64_t(page.height) * page.ppi / ppiY);
    if (overlap < std::min(page.width, height)) return {};
    const double inch = 2.539995;
    return "Die Klebekante von " + Centimetres(overlapCm) + " cm ist so breit wie die druckbare Seite (" +
           Centimetres(page.width * inch / page.ppi) + " x " + Centimetres(height * inch / page.ppi) +
           " cm) oder breiter: Es bliebe nichts zum Drucken. Bitte eine schmalere Klebekante wählen.";
}

std::string PosterPageLabel(int row, int column) {
    return "Zeile " + std::to_string(row) + ", Spalte " + std::to_string(column);
}

PosterLayout::PosterLayout(RasterSize sheet, RasterSize page, Metrics metrics) : sheet_(sheet), metrics_(metrics) {
    if (sheet.empty() || page.empty()) return;
    metrics_.overlap = std::clamp(metrics_.overlap, 0, std::min(page.width, page.height) - 1);
    metrics_.markWidth = std::max(1, metrics_.markWidth);
    const int o = metrics_.overlap;
    columns_ = PieceCount(sheet.width, page.width, o);
    rows_ = PieceCount(sheet.height, page.height, o);
    pages_.reserve(size_t(columns_) * size_t(rows_));
    for (int r = 0; r < rows_; ++r)
        for (int c = 0; c < columns_; ++c) {
            PosterPage p;
            p.row = r + 1;
            p.column = c + 1;
            p.label = PosterPageLabel(p.row, p.column);
            p.source.x = c * (page.width - o);
            p.source.y = r * (page.height - o);
            p.source.width = std::min(page.width, sheet.width - p.source.x);
            p.source.height = std::min(page.height, sheet.height - p.source.y);
            const int w = p.source.width, h = p.source.height;
            const bool right = c + 1 < columns_ && o > 0;
            const bool below = r + 1 < rows_ && o > 0;
            // The line where the neighbour's edge is laid, inside the strip it covers.
            if (right) p.cutMarks.push_back({w - o, 0, std::min(metrics_.markWidth, o), h});
            if (below) p.cutMarks.push_back({0, h - o, w, std::min(metrics_.markWidth, o)});
            if (below && o >= metrics_.labelHeight) {
                p.labelPlace = PosterLabelPlace::BottomStrip;
                p.labelBox = {0, h - o, std::min(metrics_.labelWidth, w - (right ? o : 0)), o};
            } else if (right && o >= metrics_.labelHeight) {
                p.labelPlace = PosterLabelPlace::RightStrip;
                p.labelBox = {w - o, 0, o, std::min(metrics_.labelWidth, h)};
            } else {
                p.labelPlace = PosterLabelPlace::Corner;
                const int lw = std::min(metrics_.labelWidth, w), lh = std::min(metrics_.labelHeight, h);
                p.labelBox = {w - lw, h - lh, lw, lh};
            }
            pages_.push_back(std::move(p));
        }
}

namespace {

struct PrinterPoster {
    RasterSize sheet;
    RasterSize area; // the printable area in the sheet's square pixels
    PosterLayout::Metrics metrics;
};

std::optional<PrinterPoster> OnPrinter(const PaperSettings& paper, const PrintablePage& page, double overlapCm) {
    const int32_t ppiY = VerticalPpi(page);
    if (page.ppi <= 0 || ppiY <= 0) return std::nullopt;
    PrinterPoster p;
    p.sheet = DesignRasterSize(paper, page, page.ppi, 100.0);
    p.area = {page.width, int(int64_t(page.height) * page.ppi / ppiY)};
    p.metrics.overlap = CentimetresToPixels(std::clamp(overlapCm, kMinOverlapCm, kMaxOverlapCm), page.ppi);
    p.metrics.markWidth = std::max(1, CentimetresToPixels(0.02, page.ppi));
    p.metrics.labelWidth = std::max(1, CentimetresToPixels(4.0, page.ppi));
    p.metrics.labelHeight = std::max(1, CentimetresToPixels(0.5, page.ppi));
    return p;
}

} // namespace

PosterLayout PosterLayout::ForPrinter(const PaperSettings& paper, const PrintablePage& page, double overlapCm) {
    const std::optional<PrinterPoster> p = OnPrinter(paper, page, overlapCm);
    return p ? PosterLayout(p->sheet, p->area, p->metrics) : PosterLayout();
}

int64_t PosterLayout::PageCountFor(const PaperSettings& paper, const PrintablePage& page, double overlapCm) {
    const std::optional<PrinterPoster> p = OnPrinter(paper, page, overlapCm);
    if (!p || p->sheet.empty() || p->area.empty()) return 0;
    const int o = std::clamp(p->metrics.overlap, 0, std::min(p->area.width, p->area.height) - 1);
    return int64_t(PieceCount(p->sheet.width, p->area.width, o)) * PieceCount(p->sheet.height, p->area.height, o);
}

std::vector<PixelRect> PosterLayout::PieceOutlines(PixelRect target) const {
    std::vector<PixelRect> out;
    if (sheet_.empty()) return out;
    const double sx = double(target.width) / sheet_.width, sy = double(target.height) / sheet_.height;
    for (const PosterPage& p : pages_) {
        const int x0 = target.x + int(std::lround(p.source.x * sx));
        const int y0 = target.y + int(std::lround(p.source.y * sy));
        const int x1 = target.x + int(std::lround((p.source.x + p.source.width) * sx));
        const int y1 = target.y + int(std::lround((p.source.y + p.source.height) * sy));
        out.push_back({x0, y0, x1 - x0, y1 - y0});
    }
    return out;
}

} // namespace zb
