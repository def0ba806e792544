#pragma once
// A plain surface whose owner paints it and answers its mouse: the design
// view, the texture strip and the picture preview of the main window, the
// print preview, the picture viewer's picture and the picture print dialog's
// page. The owner sets the handlers; a box inside a scroll area can also pan
// that area when dragged with any button.
//
// Ownership: the scroll area and the navigation given to PanWithin are
// borrowed; their owner keeps them alive as long as the box.
#include <QWidget>
#include <functional>

class QScrollArea;

namespace zb {

class ViewNavigation;

class PaintBox : public QWidget {
    Q_OBJECT
public:
    // Whether Qt clears the box before each paint, or the owner paints every
    // pixel itself (a full view: no flicker, no wasted fill).
    enum class Fill { Cleared, ByOwner };
    explicit PaintBox(QWidget* parent = nullptr, Fill fill = Fill::Cleared);

    // `exposed` is the part that needs painting, in the box's coordinates.
    std::function<void(QPainter&, const QRect& exposed)> onPaint;
    std::function<void(QMouseEvent*)> onMousePress;
    std::function<void(QMouseEvent*)> onMouseMove;
    std::function<void(QMouseEvent*)> onMouseRelease;
    std::function<void(QMouseEvent*)> onDoubleClick;

    // From now on dragging the box scrolls `area` (which shows the box) by
    // `navigation`'s arithmetic, before the mouse handlers run.
    void PanWithin(QScrollArea* area, ViewNavigation* navigation);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QScrollArea* panArea_ = nullptr;
    ViewNavigation* navigation_ = nullptr;
};

} // namespace zb
