#include "app/ViewNavigation.h"

#include <algorithm>

namespace zb {

namespace {

int Limit(int position, int maximum) { return std::clamp(position, 0, std::max(0, maximum)); }

} // namespace

int WheelScroll(const ScrollAxis& axis, bool down) {
    return Limit(axis.position + (down ? kWheelStep : -kWheelStep), axis.maximum);
}

int PanScroll(const ScrollAxis& axis, int pressed, int now) {
    // In 64 bits: a drag far outside the window must not wrap around.
    long long p = (long long)axis.position + ((long long)pressed - now);
    if (p < 0) p = 0;
    if (p > (long long)axis.range - 1) p = (long long)axis.range - 1;
    return Limit(int(std::max(p, 0LL)), axis.maximum);
}

int WheelZoom(int zoom, int steps) {
    if (steps == 0) return std::clamp(zoom, kZoomMin, kZoomMax);
    int z = zoom;
    if (steps > 0) {
        z = (z / kZoomStep) * kZoomStep + kZoomStep * steps;
    } else {
        z = ((z + kZoomStep - 1) / kZoomStep) * kZoomStep + kZoomStep * steps;
    }
    return std::clamp(z, kZoomMin, kZoomMax);
}

} // namespace zb
