#pragma once
// What assistive technology sees of a numeric field: its value as a number
// that can be read and set, with the field's range and step; its text as
// shown ("28,00"), character by character with cursor and selection; and
// editable text, whose edits go through the field's own rules as typing does
// (characters that can never be part of a number are refused; a typed value
// stands unlimited until the field is left). Qt's own spin box interface
// knows only QSpinBox's value and would report 0.
#include <QAccessibleWidget>

class QLineEdit;

namespace zb {

class TSpinEdit;

class TSpinEditAccessible : public QAccessibleWidget,
                            public QAccessibleValueInterface,
                            public QAccessibleTextInterface,
                            public QAccessibleEditableTextInterface {
public:
    explicit TSpinEditAccessible(TSpinEdit* edit);

    // Installs the factory that gives every TSpinEdit this interface (once).
    static void Install();

    QString text(QAccessible::Text t) const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    QVariant currentValue() const override;
    void setCurrentValue(const QVariant& value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

    // The text as shown: what the field's own line edit reports.
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

    // Edits as if typed.
    void deleteText(int startOffset, int endOffset) override;
    void insertText(int offset, const QString& text) override;
    void replaceText(int startOffset, int endOffset, const QString& text) override;

private:
    TSpinEdit* Edit() const;
    QLineEdit* Line() const;
    // Puts `start .. end` of the text replaced by `text` into the field when
    // the field's rules let it stand, the cursor after the new text.
    void Replace(int start, int end, const QString& text);
};

} // namespace zb
