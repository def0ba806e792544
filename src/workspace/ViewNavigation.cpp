#include "workspace/ViewNavigation.h"

#include <algorithm>
#include <cmath>

namespace zb {

int ZoomLimits::Limit(int zoom) const { return std::clamp(zoom, minimum, maximum); }

int WheelScroll(const ScrollAxis& axis, int notches) {
    // In 64 bits: many notches at once must not wrap around.
    const int64_t p = int64_t(axis.position) - int64_t(notches) * kWheelStep;
    return int(std::clamp<int64_t>(p, 0, std::max(0, axis.maximum)));
}

int PanScroll(const ScrollAxis& axis, int pressed, int now) {
    // In 64 bits: a drag far outside the window must not wrap around.
    int64_t p = int64_t(axis.position) + (int64_t(pressed) - now);
    p = std::min(p, int64_t(axis.range) - 1);
    return int(std::clamp<int64_t>(p, 0, std::max(0, axis.maximum)));
}

int StepZoom(const ZoomLimits& limits, int zoom, int steps) {
    if (limits.stepping == ZoomStepping::Grid) {
        // Not limited first: a typed zoom below the grid steps onto it.
        const int s = limits.step;
        int z = zoom;
        if (steps > 0) z = (z / s) * s + s * steps;
        else if (steps < 0) z = ((z + s - 1) / s) * s + s * steps;
        return limits.Limit(z);
    }
    int64_t z = limits.Limit(zoom);
    for (; steps > 0 && z < limits.maximum; --steps) z = std::max<int64_t>(z + 1, std::llround(double(z) * 1.25));
    for (; steps < 0 && z > limits.minimum; ++steps) z = std::min<int64_t>(z - 1, std::llround(double(z) / 1.25));
    return int(std::clamp<int64_t>(z, limits.minimum, limits.maximum));
}

SurfaceSize ZoomedSize(int64_t width, int64_t height, int zoomPercent) {
    return {int64_t(std::trunc(double(width) * zoomPercent / 100.0)),
            int64_t(std::trunc(double(height) * zoomPercent / 100.0))};
}

int ScrollForZoomAbout(int scroll, int pointer, int64_t oldSize, int64_t newSize) {
    if (oldSize <= 0) return 0;
    const double u = (double(scroll) + pointer) / double(oldSize);
    const double s = u * double(newSize) - pointer;
    return int(std::clamp(std::llround(s), 0LL, (long long)INT32_MAX));
}

ScrollPoint ViewNavigation::DragTo(const ScrollAxis& h, const ScrollAxis& v, int x, int y) const {
    if (!dragging_) return {h.position, v.position};
    return {PanScroll(h, pressX_, x), PanScroll(v, pressY_, y)};
}

int ViewNavigation::Wheel(int angleDelta) {
    wheelRemainder_ += angleDelta;
    const int notches = wheelRemainder_ / kWheelNotch;
    wheelRemainder_ -= notches * kWheelNotch;
    return notches;
}

} // namespace zb
