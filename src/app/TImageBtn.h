#pragma once
// Button made of two pictures: the normal one, and the pressed one while a
// mouse button is held down over it. Any mouse button shows the pressed
// picture; only the left button released inside clicks, and the normal picture
// is back before clicked() goes out, so a dialog opened from the click never
// finds the button looking pressed. Space and Enter click it from the keyboard.
#include <QAbstractButton>
#include <QPixmap>

namespace zb {

class TImageBtn : public QAbstractButton {
    Q_OBJECT
public:
    explicit TImageBtn(QWidget* parent = nullptr);

    // The normal picture; the button takes its size (in device-independent pixels).
    void SetPicture(const QPixmap& picture);
    // The pressed picture; an empty one shows nothing while held.
    void SetPicture2(const QPixmap& picture);
    const QPixmap& Picture() const { return picture_; }
    const QPixmap& Picture2() const { return picture2_; }

    // True while the pressed picture is shown.
    bool PressedShown() const { return pressedShown_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool event(QEvent* event) override;

private:
    void ShowPressed();
    void ShowNormal();

    QPixmap picture_;
    QPixmap picture2_;
    bool held_ = false;
    bool pressedShown_ = false;
    QString nameFromToolTip_;
};

} // namespace zb
