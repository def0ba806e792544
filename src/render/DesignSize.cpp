#include "render/DesignSize.h"

#include <cmath>
#include <limits>

namespace zb {

namespace {

int TruncPixels(double value) {
    // NaN fails both comparisons and lands on 0.
    if (!(value >= 1.0)) return 0;
    if (value >= double(std::numeric_limits<int32_t>::max())) return std::numeric_limits<int32_t>::max();
    return int(std::trunc(value));
}

int WholePageAxis(int32_t printerPixels, int32_t targetPpi, int32_t printerPpi, double zoom) {
    if (printerPpi <= 0) return 0;
    const int64_t product = int64_t(printerPixels) * int64_t(targetPpi);
    return TruncPixels(double(product) / double(printerPpi) * zoom / 100.0);
}

int PartAxis(double centimetres, int32_t targetPpi, double zoom) {
    return TruncPixels(centimetres * 10.0 / kMillimetresPerInch * double(targetPpi) * zoom / 100.0);
}

} // namespace

RasterSize DesignRasterSize(const PaperSettings& paper, const PrintablePage& page, int32_t targetPpi,
                            double zoomPercent) {
    if (paper.PrintAll) {
        return {WholePageAxis(page.width, targetPpi, page.ppi, zoomPercent),
                WholePageAxis(page.height, targetPpi, VerticalPpi(page), zoomPercent)};
    }
    return {PartAxis(paper.Breit, targetPpi, zoomPercent), PartAxis(paper.Hoch, targetPpi, zoomPercent)};
}

} // namespace zb
