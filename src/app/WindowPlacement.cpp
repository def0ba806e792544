#include "app/WindowPlacement.h"

#include <algorithm>

namespace zb {

QRect PlaceWindow(QSize wanted, const QRect& available) {
    const int w = std::clamp(wanted.width(), 1, std::max(1, available.width()));
    const int h = std::clamp(wanted.height(), 1, std::max(1, available.height()));
    return QRect(available.x() + (available.width() - w) / 2, available.y() + (available.height() - h) / 2, w, h);
}

} // namespace zb
