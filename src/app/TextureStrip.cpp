#include "app/TextureStrip.h"

#include <algorithm>

namespace zb {

int TextureStripWidth(int count) { return std::max(0, count) * kThumbPitch; }

QRect ThumbnailRect(int index, int stripHeight) {
    return QRect(index * kThumbPitch, 0, kThumbWidth, stripHeight);
}

QRect ThumbnailFrame(int index, int stripHeight) {
    return QRect(index * kThumbPitch, 0, kThumbPitch, stripHeight);
}

int TextureAt(int x, int count) {
    if (count <= 0) return -1;
    return std::clamp(x / kThumbPitch, 0, count - 1);
}

} // namespace zb
