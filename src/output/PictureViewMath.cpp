#include "output/PictureViewMath.h"

#include <algorithm>
#include <cmath>

namespace zb {

SurfaceSize ViewerSurfaceSize(int64_t w, int64_t h, int zoomPercent) {
    return {int64_t(std::trunc(double(w) * zoomPercent / 100.0)),
            int64_t(std::trunc(double(h) * zoomPercent / 100.0))};
}

int PanScrollPosition(int current, int pressed, int now, int range, int maxValid) {
    int64_t p = int64_t(current) + (int64_t(pressed) - now);
    if (p < 0) p = 0;
    if (p > int64_t(range) - 1) p = int64_t(range) - 1;
    if (p > maxValid) p = maxValid;
    return int(std::max<int64_t>(p, 0));
}

int WheelScrollPosition(int current, int notches, int maxValid) {
    const int64_t p = int64_t(current) - int64_t(notches) * kWheelScrollPixels;
    return int(std::clamp<int64_t>(p, 0, std::max(0, maxValid)));
}

int ZoomStep(int zoomPercent, int steps) {
    int64_t z = std::clamp(zoomPercent, kViewZoomMin, kViewZoomMax);
    for (; steps > 0 && z < kViewZoomMax; --steps) z = std::max<int64_t>(z + 1, std::llround(double(z) * 1.25));
    for (; steps < 0 && z > kViewZoomMin; ++steps) z = std::min<int64_t>(z - 1, std::llround(double(z) / 1.25));
    return int(std::clamp<int64_t>(z, kViewZoomMin, kViewZoomMax));
}

int ScrollForZoomAbout(int scroll, int pointer, int64_t oldSize, int64_t newSize) {
    if (oldSize <= 0) return 0;
    const double u = (double(scroll) + pointer) / double(oldSize);
    const double s = u * double(newSize) - pointer;
    return int(std::clamp(std::llround(s), 0LL, (long long)INT32_MAX));
}

} // namespace zb
