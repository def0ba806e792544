#include "app/WindowPlacement.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

#include "app/WindowMemory.h"

namespace zb {

namespace {

// A title bar and thin borders, as most window managers draw them, until the
// window is framed and its own can be measured.
constexpr QMargins kTypicalFrame{2, 32, 2, 2};

int Within(int value, int low, int high) { return std::max(low, std::min(value, high)); }

} // namespace

QRect PlaceWindow(QSize wanted, const QRect& available) {
    const int w = std::clamp(wanted.width(), 1, std::max(1, available.width()));
    const int h = std::clamp(wanted.height(), 1, std::max(1, available.height()));
    return QRect(available.x() + (available.width() - w) / 2, available.y() + (available.height() - h) / 2, w, h);
}

QRect FitWindow(const QRect& client, const QMargins& frame, const QRect& available) {
    const QRect room = available.marginsRemoved(frame);
    if (client.isEmpty()) return PlaceWindow(FirstStartSize(room), room);
    const int w = Within(client.width(), 1, room.width());
    const int h = Within(client.height(), 1, room.height());
    return {Within(client.x(), room.left(), room.left() + room.width() - w),
            Within(client.y(), room.top(), room.top() + room.height() - h), w, h};
}

void PlaceBeforeShowing(QWidget& window, bool restored) {
    if (restored && (window.isMaximized() || window.isFullScreen())) return;
    QScreen* screen = restored ? QGuiApplication::screenAt(window.geometry().center()) : nullptr;
    if (!screen) screen = QGuiApplication::screenAt(QCursor::pos());
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    window.setGeometry(FitWindow(restored ? window.geometry() : QRect(), kTypicalFrame, screen->availableGeometry()));
}

void FitFramedWindow(QWidget& window) {
    if (window.isMaximized() || window.isFullScreen() || !window.screen()) return;
    const QRect inner = window.geometry(), outer = window.frameGeometry();
    const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                         outer.bottom() - inner.bottom());
    const QRect fitted = FitWindow(inner, frame, window.screen()->availableGeometry());
    if (fitted != inner) window.setGeometry(fitted);
}

} // namespace zb
