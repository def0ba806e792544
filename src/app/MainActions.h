#pragma once
// The main window's commands: one QAction each, with its caption, shortcut,
// tool tip, icon and enabled state. The menu bar, the buttons and the
// keyboard all use these, so a command looks and answers the same wherever
// it is given. The window connects each action's triggered() to its handler.
//
// A new command is one more member here, one more row in the constructor's
// table and one more place in FillMenuBar.
//
// Ownership: the actions and the menus are children of the window passed in.
#include <QList>
#include <QObject>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace zb {

class MainActions : public QObject {
    Q_OBJECT
public:
    explicit MainActions(QWidget* window);

    // "Datei"
    QAction* New = nullptr;
    QAction* NewFromTemplate = nullptr;
    QAction* Open = nullptr;
    QAction* Save = nullptr;
    QAction* SaveAs = nullptr;
    QAction* Print = nullptr;
    QAction* Export = nullptr;
    QAction* Quit = nullptr;
    // "Bearbeiten"
    QAction* Undo = nullptr;
    QAction* Redo = nullptr;
    QAction* Paste = nullptr;
    // "Ansicht"
    QAction* ZoomIn = nullptr;
    QAction* ZoomOut = nullptr;
    QAction* ActualSize = nullptr;
    QAction* WholePage = nullptr;
    QAction* ShowRepeat = nullptr;
    // "Ebene"
    QAction* NewLayer = nullptr;
    QAction* DeleteLayer = nullptr;
    QAction* DuplicateLayer = nullptr;
    QAction* MoveUp = nullptr;
    QAction* MoveDown = nullptr;
    QAction* Reroll = nullptr;
    QAction* HoldSheet = nullptr;
    // "Hilfe"
    QAction* Manual = nullptr;
    QAction* About = nullptr;

    // "Zuletzt geöffnet": filled by the window each time it opens.
    QMenu* Recent = nullptr;

    // Builds the menus "Datei", "Bearbeiten", "Ansicht", "Ebene" and "Hilfe".
    void FillMenuBar(QMenuBar* bar) const;

    // The actions whose shortcuts a focused text or number field would take
    // for itself (undo, redo): the window gives them to the design instead.
    QList<QAction*> DesignKeys() const { return {Undo, Redo}; }
};

} // namespace zb
