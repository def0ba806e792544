#pragma once
// A whole-number field of the viewer and the picture print dialog. Enter
// applies what was typed, ends the edit (editingFinished) and stays in the
// dialog (the dialog's default button does not take it), and a text that is no number counts as the field's
// minimum while it stands, as every numeric field of the program reads it.
#include <QSpinBox>

namespace zb {

class WholeNumberEdit : public QSpinBox {
    Q_OBJECT
public:
    explicit WholeNumberEdit(QWidget* parent = nullptr);

    // What the field counts as now: its value, or its minimum while the text
    // is no number.
    int Reading() const;

signals:
    // The reading changed (a value, a step, or a text that is no number).
    void readingChanged(int reading);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Follow();

    int lastReading_ = 0;
};

} // namespace zb
