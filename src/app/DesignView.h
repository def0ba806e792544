#pragma once
// The design view: the sheet the workspace composed, one raster pixel to one
// screen pixel, in a scroll box that pans when dragged. Only the part of the
// sheet in sight is composed (with a small margin), so zooming in costs no
// more than the view's size; scrolling beyond it composes the part that comes
// into view. Its paint composes first (waiting only so long; a longer
// composition appears when done, with progress in the status bar) and never
// draws a sheet into a size it was not composed for.
//
// Ownership: a child of the main window's layer page; the workspace and the
// navigation are borrowed from the main window, which outlives the view.
#include <QScrollArea>
#include <functional>
#include <optional>
#include <string>

#include "app/DrawFailureNotice.h"
#include "base/TDibRecord.h"
#include "render/DesignSize.h"
#include "render/PageGeometry.h"

class QLabel;
class QTimer;

namespace zb {

class DesignWorkspace;
class PaintBox;
class ViewNavigation;

class DesignView : public QScrollArea {
    Q_OBJECT
public:
    struct Hooks {
        // A failure to show in a message box (called outside any paint).
        std::function<void(const std::string&)> error;
        // The status bar's passing message; empty clears it.
        std::function<void(const QString&)> status;
        // True while the edit timer will compose soon anyway.
        std::function<bool()> editPending;
        // Puts the zoom field back to this zoom (after the memory refused one).
        std::function<void(double)> restoreZoom;
    };
    // `composeWaitMs`: how long a paint waits for a composition (negative: to the end).
    DesignView(DesignWorkspace& workspace, ViewNavigation& navigation, int composeWaitMs, Hooks hooks,
               QWidget* parent = nullptr);

    PaintBox* Surface() const { return surface_; }
    // Screen pixels per inch the sheet is composed at.
    int ScreenPpi() const;
    // Sizes the surface to the sheet, composes when the sheet is stale, repaints.
    void Paint();
    // What a composition covers: the part in sight, or the whole sheet (the print preview).
    enum class Coverage { InSight, WholeSheet };
    // Composes as the view does; returns the failure to show.
    std::string Compose(Coverage coverage = Coverage::InSight);
    // The part of the sheet inside the scroll box, in device pixels; none
    // while the repeat is shown (it needs the whole sheet).
    std::optional<PixelRect> InSight() const;
    // A sheet finished on the composing thread: show it.
    void SheetFinished();
    // "Wiederholung zeigen": the sheet 3 x 3 times as its repeat lays it (the
    // design's repeat mode when it is a seamless tile, else straight), the
    // sheet itself in the middle. Nothing more is composed for it.
    void SetShowRepeat(bool show);
    // Writes what would make the tile show a seam into `label` (hidden when
    // nothing would).
    void ShowSeamHints(QLabel* label) const;
    bool ShowsRepeat() const { return showRepeat_; }

private:
    void Draw(QPainter& painter, const QRect& exposed);
    void DrawRepeat(QPainter& painter, const QRect& exposed, const TDibRecord& sheet);
    // Sheets across and down the surface shows.
    int Copies() const { return showRepeat_ ? 3 : 1; }
    RasterSize Tiled(RasterSize sheet) const;
    // Says a composition's failure; a zoom the memory refused goes back to
    // the zoom of the sheet still shown.
    void Report(const std::string& message);
    void ShowProgress();

    DesignWorkspace& workspace_;
    Hooks hooks_;
    int composeWaitMs_;
    bool showRepeat_ = false;
    PaintBox* surface_ = nullptr;
    QTimer* progressTimer_ = nullptr;
    qint64 composingSince_ = -1;
    // Drawing failures, each said once (queued, never inside a paint).
    DrawFailureNotice drawFailures_{[this](const QString& message) {
        QMetaObject::invokeMethod(this, [this, message] { hooks_.error(message.toStdString()); },
                                  Qt::QueuedConnection);
    }};
};

} // namespace zb
