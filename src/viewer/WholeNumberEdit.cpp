#include "viewer/WholeNumberEdit.h"

#include <QKeyEvent>
#include <QLineEdit>

#include "model/SpinField.h"

namespace zb {

WholeNumberEdit::WholeNumberEdit(QWidget* parent) : QSpinBox(parent) {
    lastReading_ = Reading();
    connect(this, &QSpinBox::valueChanged, this, &WholeNumberEdit::Follow);
    connect(lineEdit(), &QLineEdit::textEdited, this, &WholeNumberEdit::Follow);
}

int WholeNumberEdit::Reading() const {
    // A number is the spin box's to keep within its range; no number (an
    // emptied field, a lone sign) reads as the minimum.
    double typed = 0;
    return ParseDecimal(cleanText().toStdString(), ',', typed) ? value() : minimum();
}

void WholeNumberEdit::Follow() {
    const int reading = Reading();
    if (reading == lastReading_) return;
    lastReading_ = reading;
    emit readingChanged(reading);
}

void WholeNumberEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        interpretText();
        Follow();
        emit editingFinished();
        event->accept();
        return;
    }
    QSpinBox::keyPressEvent(event);
}

} // namespace zb
