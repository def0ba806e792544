#pragma once
// What the window remembers between runs, in the user's settings: its size,
// position and maximised state, the page shown, and the last folder of each
// kind of file. The first start opens large enough that the design view is
// at least 400 pixels high on a 1366 x 768 screen.
#include <QByteArray>
#include <QRect>
#include <QSize>

#include "app/DialogFolders.h"

namespace zb {

// The size of the first start within the screen's available area.
QSize FirstStartSize(const QRect& available);

class WindowMemory {
public:
    struct State {
        QByteArray geometry; // QWidget::saveGeometry; empty: never saved
        int page = 0;
    };
    static State Load(DialogFolders& folders);
    static void Save(const State& state, const DialogFolders& folders);
};

} // namespace zb
