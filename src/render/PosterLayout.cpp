#include "render/PosterLayout.h"

#include <algorithm>
#include <cmath>

namespace zb {

namespace {

// Pieces along one axis: ceil((length - overlap) / (page - overlap)), at least one.
int PieceCount(int length, int page, int overlap) {
    if (length <= page) return 1;
    const int step = page - overlap;
    return (length - overlap + step - 1) / step;
}

} // namespace

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

PosterLayout PosterLayout::ForPrinter(const PaperSettings& paper, const PrintablePage& page, double overlapCm) {
    const int32_t ppiY = VerticalPpi(page);
    if (page.ppi <= 0 || ppiY <= 0) return {};
    const RasterSize sheet = DesignRasterSize(paper, page, page.ppi, 100.0);
    // The printable height in the sheet's square pixels.
    const RasterSize area{page.width, int(int64_t(page.height) * page.ppi / ppiY)};
    Metrics m;
    m.overlap = CentimetresToPixels(std::clamp(overlapCm, kMinOverlapCm, kMaxOverlapCm), page.ppi);
    m.markWidth = std::max(1, CentimetresToPixels(0.02, page.ppi));
    m.labelWidth = std::max(1, CentimetresToPixels(4.0, page.ppi));
    m.labelHeight = std::max(1, CentimetresToPixels(0.5, page.ppi));
    return PosterLayout(sheet, area, m);
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
