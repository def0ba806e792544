#pragma once
// Gives the design its keys back from focused fields. A text or number field
// takes Ctrl+Z, Ctrl+Shift+Z, Ctrl+Y and Ctrl+V for its own text; in this
// window undo and redo belong to the design whatever has the focus (what a
// field shows is already in the design, so its typing is the step undone),
// and Ctrl+V with a picture on the clipboard pastes the picture.
//
// Ownership: a child of the window it serves; installed on the application,
// it looks only at key presses for widgets of that window.
#include <QObject>

class QWidget;

namespace zb {

class MainActions;

class DesignKeyFilter : public QObject {
    Q_OBJECT
public:
    DesignKeyFilter(QWidget& window, const MainActions& actions);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& window_;
    const MainActions& actions_;
};

} // namespace zb
