#pragma once
// A plain surface whose owner paints it and answers its mouse: the design
// view, the texture strip and the picture preview. The owner sets the handlers;
// the box keeps no state of its own.
#include <QEvent>
#include <QWidget>
#include <functional>

namespace zb {

class PaintBox : public QWidget {
    Q_OBJECT
public:
    explicit PaintBox(QWidget* parent = nullptr);

    // `exposed` is the part that needs painting, in the box's coordinates.
    std::function<void(QPainter&, const QRect& exposed)> onPaint;
    std::function<void(QMouseEvent*)> onMousePress;
    std::function<void(QMouseEvent*)> onMouseMove;
    std::function<void(QMouseEvent*)> onMouseRelease;
    std::function<void(QMouseEvent*)> onDoubleClick;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

} // namespace zb
