#include "app/TImageBtn.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace zb {

TImageBtn::TImageBtn(QWidget* parent) : QAbstractButton(parent) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void TImageBtn::SetPicture(const QPixmap& picture) {
    picture_ = picture;
    setFixedSize(sizeHint());
    update();
}

void TImageBtn::SetPicture2(const QPixmap& picture) {
    picture2_ = picture;
    update();
}

QSize TImageBtn::sizeHint() const {
    return picture_.isNull() ? QSize(16, 16) : picture_.deviceIndependentSize().toSize();
}

QSize TImageBtn::minimumSizeHint() const {
    return sizeHint();
}

void TImageBtn::ShowPressed() {
    if (pressedShown_) return;
    pressedShown_ = true;
    update();
}

void TImageBtn::ShowNormal() {
    if (!pressedShown_) return;
    pressedShown_ = false;
    update();
}

void TImageBtn::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    const QPixmap& shown = pressedShown_ ? picture2_ : picture_;
    if (!shown.isNull()) painter.drawPixmap(QPointF(0, 0), shown);
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect().adjusted(1, 1, -1, -1);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
    }
}

void TImageBtn::mousePressEvent(QMouseEvent* event) {
    ShowPressed();
    held_ = true;
    if (event->button() == Qt::LeftButton) {
        QAbstractButton::mousePressEvent(event);
    } else {
        event->accept();
    }
}

void TImageBtn::mouseMoveEvent(QMouseEvent* event) {
    if (held_) {
        if (rect().contains(event->position().toPoint())) {
            ShowPressed();
        } else {
            ShowNormal();
        }
    }
    QAbstractButton::mouseMoveEvent(event);
}

void TImageBtn::mouseReleaseEvent(QMouseEvent* event) {
    // Normal again before the base class clicks.
    ShowNormal();
    held_ = false;
    if (event->button() == Qt::LeftButton) {
        QAbstractButton::mouseReleaseEvent(event);
    } else {
        event->accept();
    }
}

void TImageBtn::keyPressEvent(QKeyEvent* event) {
    if (event->isAutoRepeat()) {
        QAbstractButton::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        ShowNormal();
        click();
        event->accept();
        return;
    case Qt::Key_Space:
        QAbstractButton::keyPressEvent(event);
        if (isDown()) ShowPressed();
        return;
    default:
        QAbstractButton::keyPressEvent(event);
    }
}

void TImageBtn::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat() && !held_) ShowNormal();
    QAbstractButton::keyReleaseEvent(event);
}

void TImageBtn::focusOutEvent(QFocusEvent* event) {
    if (!held_) ShowNormal();
    QAbstractButton::focusOutEvent(event);
}

bool TImageBtn::event(QEvent* event) {
    // The hint names the button for assistive technology unless it was named
    // otherwise.
    if (event->type() == QEvent::ToolTipChange) {
        if (accessibleName().isEmpty() || accessibleName() == nameFromToolTip_) {
            nameFromToolTip_ = toolTip();
            setAccessibleName(nameFromToolTip_);
        }
    }
    return QAbstractButton::event(event);
}

} // namespace zb
