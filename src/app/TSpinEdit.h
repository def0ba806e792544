#pragma once
// Numeric field of the editor. The value lives in the text, written with the
// field's decimals and the widget locale's decimal separator ("28,00" under
// German settings). While the user types, the text is read as it stands, even
// outside the range; when the focus moves on to another control (or Enter is
// pressed) the text is limited and written again. A message box or another
// window taking the focus leaves the typed text alone. A text that is not a number reads as the
// field's minimum.
#include "model/SpinField.h"

#include <QAbstractSpinBox>

namespace zb {

class TSpinEdit : public QAbstractSpinBox {
    Q_OBJECT
public:
    // `step` is what one arrow press adds or takes away.
    TSpinEdit(zb::SpinField field, double step, QWidget* parent = nullptr);

    // The current text read as a number, not limited.
    double Value() const;
    // The text read in extended precision (what the paper rules compute with).
    long double ExtendedValue() const;
    // Limits, formats and shows `value`; raises Change when the text changes.
    void SetValue(double value);

    QString Text() const;
    // Puts `text` into the field as if the user had typed it: not limited,
    // raises Change when it differs.
    void SetText(const QString& text);

    const zb::SpinField& Field() const { return field_; }
    double Step() const { return step_; }

    void stepBy(int steps) override;
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // Every change of the text: each keystroke, a step, SetValue.
    void Change();

protected:
    StepEnabled stepEnabled() const override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // Limits and rewrites the typed text.
    void Commit();
    static char SeparatorOf(const QLocale& locale);

    zb::SpinField field_;
    double step_;
    char separator_;
};

} // namespace zb
