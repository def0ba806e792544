#include "render/DesignPreview.h"

#include <algorithm>

namespace zb {

double ZoomToFit(const PaperSettings& paper, const PrintablePage& page, int ppi, int maxWidth, int maxHeight) {
    const RasterSize full = DesignRasterSize(paper, page, ppi, 100.0);
    if (full.empty()) return 100.0;
    return 100.0 * std::min(double(maxWidth) / full.width, double(maxHeight) / full.height);
}

std::string ComposePreview(const Design& design, const PrintablePage& page, int ppi, int maxWidth, int maxHeight,
                           uint32_t seed, FontEngine* fonts, Compositor& compositor) {
    const double zoom = ZoomToFit(design.Paper, page, ppi, maxWidth, maxHeight);
    const RasterSize size = DesignRasterSize(design.Paper, page, ppi, zoom);
    if (std::string message = compositor.EnsureSize(size); !message.empty()) return message;
    return compositor.ComposeFromSeed(design, ppi, zoom, seed, fonts).message;
}

} // namespace zb
