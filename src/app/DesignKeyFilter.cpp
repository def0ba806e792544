#include "app/DesignKeyFilter.h"

#include <QAction>
#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QWidget>

#include "app/MainActions.h"

namespace zb {

DesignKeyFilter::DesignKeyFilter(QWidget& window, const MainActions& actions)
    : QObject(&window), window_(window), actions_(actions) {
    QCoreApplication::instance()->installEventFilter(this);
}

bool DesignKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    // Keys the field does not take reach the actions' shortcuts directly.
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
    if (static_cast<QWidget*>(watched)->window() != &window_) return false;
    const QKeySequence keys(static_cast<QKeyEvent*>(event)->keyCombination());
    QAction* action = nullptr;
    for (QAction* a : actions_.DesignKeys())
        if (a->shortcuts().contains(keys)) action = a;
    if (!action && actions_.Paste->shortcuts().contains(keys)) {
        // A text on the clipboard is the field's to paste.
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        if (data && data->hasImage()) action = actions_.Paste;
    }
    if (!action || !action->isEnabled()) return false;
    action->trigger();
    return true;
}

} // namespace zb
