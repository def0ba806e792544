#include "app/WindowPlacement.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

#include "app/WindowMemory.h"

namespace zb {

QRect PlaceWindow(QSize wanted, const QRect& available) {
    const int w = std::clamp(wanted.width(), 1, std::max(1, available.width()));
    const int h = std::clamp(wanted.height(), 1, std::max(1, available.height()));
    return QRect(available.x() + (available.width() - w) / 2, available.y() + (available.height() - h) / 2, w, h);
}

void PlaceFirstTime(QWidget& window) {
    QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QSize decoration = window.frameGeometry().size() - window.geometry().size();
    const QRect area = screen->availableGeometry().adjusted(0, 0, -decoration.width(), -decoration.height());
    window.setGeometry(PlaceWindow(FirstStartSize(area).expandedTo(window.minimumSizeHint()), area));
}

} // namespace zb
