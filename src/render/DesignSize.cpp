#include "render/DesignSize.h"

#include <cmath>
#include <limits>

namespace zb {

namespace {

// Sizes are computed in extended precision, as the sizes designs were made
// with: in double, (6460 x 96) / 600 x 250 / 100 lands just below 2584.
int TruncPixels(long double value) {
    // NaN fails both comparisons and lands on 0.
    if (!(value >= 1.0L)) return 0;
    if (value >= (long double)std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    return int(std::trunc(value));
}

int WholePageAxis(int32_t printerPixels, int32_t targetPpi, int32_t printerPpi, double zoom) {
    if (printerPpi <= 0) return 0;
    const int64_t product = int64_t(printerPixels) * int64_t(targetPpi);
    return TruncPixels((long double)product / (long double)printerPpi * (long double)zoom / 100.0L);
}

int PartAxis(double centimetres, int32_t targetPpi, double zoom) {
    return TruncPixels((long double)centimetres * 10.0L / (long double)kMillimetresPerInch * (long double)targetPpi *
                       (long double)zoom / 100.0L);
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
