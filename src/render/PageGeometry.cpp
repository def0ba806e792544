#include "render/PageGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace zb {

namespace {

// In extended precision, as the design raster's size.
int Trunc(long double value) {
    if (!(value > 0)) return 0; // negative, zero and NaN
    if (value >= (long double)std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    return int(std::trunc(value));
}

std::string Centimetres(int32_t pixels, int32_t ppi, char separator) {
    const double cm = ppi > 0 ? double(pixels) * kMillimetresPerInch / double(ppi) / 10.0 : 0.0;
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", cm);
    std::string s(text);
    for (char& c : s)
        if (c == '.') c = separator;
    return s;
}

// Whole-page design axis of the preview: (P * s div p) in whole numbers, then the zoom.
int WholePageDesignAxis(int32_t printerPixels, int32_t screenPpi, int32_t printerPpi, double zoom) {
    if (printerPpi <= 0) return 0;
    const int64_t screenPixels = int64_t(printerPixels) * screenPpi / printerPpi;
    return Trunc((long double)screenPixels * (long double)zoom / 100.0L);
}

} // namespace

std::string PrintableSizeLine(const PrintablePage& page, char separator) {
    return "Maximal druckbare Größe: " + Centimetres(page.width, page.ppi, separator) + " cm x " +
           Centimetres(page.height, VerticalPpi(page), separator) + " cm";
}

std::string FallbackPrintableSizeLine(const PrintablePage& page, char separator) {
    return PrintableSizeLine(page, separator) + " (kein Drucker eingerichtet: Ausdruck als PDF-Datei, A4, 600 dpi)";
}

int CentimetresToPixels(double centimetres, double ppi, double zoomPercent) {
    return Trunc((long double)centimetres * 10.0L / (long double)kMillimetresPerInch * (long double)ppi *
                 (long double)zoomPercent / 100.0L);
}

PreviewLayout PreviewPageLayout(const PaperSettings& paper, const PrintablePage& page, int32_t screenPpi,
                                double zoomPercent) {
    PreviewLayout l;
    // Same rule as the design raster of the whole page.
    PaperSettings whole = paper;
    whole.PrintAll = true;
    l.page = DesignRasterSize(whole, page, screenPpi, zoomPercent);
    if (paper.PrintAll) {
        l.design.width = WholePageDesignAxis(page.width, screenPpi, page.ppi, zoomPercent);
        l.design.height = WholePageDesignAxis(page.height, screenPpi, VerticalPpi(page), zoomPercent);
    } else {
        l.design.width = CentimetresToPixels(paper.Breit, screenPpi, zoomPercent);
        l.design.height = CentimetresToPixels(paper.Hoch, screenPpi, zoomPercent);
    }
    l.design.x = CentimetresToPixels(paper.RandX, screenPpi, zoomPercent);
    l.design.y = CentimetresToPixels(paper.RandY, screenPpi, zoomPercent);
    return l;
}

PrintLayout PrintPageLayout(const PaperSettings& paper, const PrintablePage& page) {
    PrintLayout l;
    const int32_t ppiY = VerticalPpi(page);
    if (page.ppi <= 0 || ppiY <= 0) return l;
    if (paper.PrintAll) {
        l.design.width = page.width;
        l.design.height = page.height;
    } else {
        l.design.width = CentimetresToPixels(paper.Breit, page.ppi);
        l.design.height = CentimetresToPixels(paper.Hoch, ppiY);
    }
    l.design.x = CentimetresToPixels(paper.RandX, page.ppi);
    l.design.y = CentimetresToPixels(paper.RandY, ppiY);
    l.visible = l.design;
    l.visible.width = std::max(0, std::min(l.design.width, page.width - l.design.x));
    l.visible.height = std::max(0, std::min(l.design.height, page.height - l.design.y));
    l.raster = DesignRasterSize(paper, page, page.ppi, 100.0);
    return l;
}

PreviewLayout PosterPreviewLayout(const PaperSettings& paper, const PrintablePage& page, int32_t screenPpi,
                                  double zoomPercent) {
    PreviewLayout l = PreviewPageLayout(paper, page, screenPpi, zoomPercent);
    l.design.x = l.design.y = 0;
    l.page = {l.design.width, l.design.height};
    return l;
}

double FilterScale(double outputPpi, double screenPpi, double zoomPercent) {
    const double screen = screenPpi * zoomPercent / 100.0;
    if (!(screen > 0) || !(outputPpi > 0)) return 1.0;
    return std::max(1.0, outputPpi / screen);
}

int WholePageZoom(const PaperSettings& paper, const PrintablePage& page, int32_t screenPpi, int viewWidth,
                  int viewHeight, int minZoom, int maxZoom, bool poster) {
    // The page picture grows with the zoom; the largest that fits is found by halving.
    auto fits = [&](int zoom) {
        const RasterSize s = (poster ? PosterPreviewLayout(paper, page, screenPpi, zoom)
                                     : PreviewPageLayout(paper, page, screenPpi, zoom))
                                 .page;
        return s.width <= viewWidth && s.height <= viewHeight;
    };
    if (!fits(minZoom)) return minZoom;
    int lo = minZoom, hi = maxZoom;
    while (lo < hi) {
        const int mid = lo + (hi - lo + 1) / 2;
        if (fits(mid)) lo = mid;
        else hi = mid - 1;
    }
    return lo;
}

} // namespace zb
