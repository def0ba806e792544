#pragma once
// A plain paint surface: its owner draws it (OnPaint) and hears its mouse
// presses, moves and releases. The picture viewer's picture and the print
// dialog's page preview are such surfaces.
#include <QWidget>
#include <functional>

namespace zb {

class TPaintBox : public QWidget {
    Q_OBJECT
public:
    explicit TPaintBox(QWidget* parent = nullptr);

    // Draws the surface; `exposed` is the part to repaint, in the surface's
    // own coordinates.
    std::function<void(QPainter& painter, const QRect& exposed)> OnPaint;

signals:
    void MouseDown(QPoint pos, Qt::MouseButton button);
    void MouseMove(QPoint pos, Qt::MouseButtons buttons);
    void MouseUp(QPoint pos, Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace zb
