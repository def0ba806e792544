#include "app/TSpinEditAccessible.h"

#include "app/TSpinEdit.h"

#include <QLineEdit>

#include <algorithm>

namespace zb {

namespace {

QAccessibleInterface* Factory(const QString& className, QObject* object) {
    if (className == QLatin1String("zb::TSpinEdit") && object && object->isWidgetType())
        return new TSpinEditAccessible(static_cast<TSpinEdit*>(object));
    return nullptr;
}

} // namespace

TSpinEditAccessible::TSpinEditAccessible(TSpinEdit* edit) : QAccessibleWidget(edit, QAccessible::SpinBox) {}

void TSpinEditAccessible::Install() {
    static const bool installed = [] {
        QAccessible::installFactory(&Factory);
        return true;
    }();
    (void)installed;
}

TSpinEdit* TSpinEditAccessible::Edit() const { return static_cast<TSpinEdit*>(widget()); }

QString TSpinEditAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Value) return Edit()->Text();
    return QAccessibleWidget::text(t);
}

void* TSpinEditAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
    if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    if (type == QAccessible::EditableTextInterface) return static_cast<QAccessibleEditableTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QVariant TSpinEditAccessible::currentValue() const { return Edit()->Value(); }

void TSpinEditAccessible::setCurrentValue(const QVariant& value) {
    bool ok = false;
    const double v = value.toDouble(&ok);
    if (ok) Edit()->SetValue(v);
}

QVariant TSpinEditAccessible::maximumValue() const { return Edit()->Field().Max; }

QVariant TSpinEditAccessible::minimumValue() const { return Edit()->Field().Min; }

QVariant TSpinEditAccessible::minimumStepSize() const { return Edit()->Step(); }

QLineEdit* TSpinEditAccessible::Line() const {
    return Edit()->findChild<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly);
}

// The toolkit gives a spin box's line edit no interface of its own, so the
// text is reported here from the line edit itself.
void TSpinEditAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const {
    *startOffset = *endOffset = 0;
    const QLineEdit* line = Line();
    if (selectionIndex != 0 || !line->hasSelectedText()) return;
    *startOffset = line->selectionStart();
    *endOffset = line->selectionEnd();
}

int TSpinEditAccessible::selectionCount() const { return Line()->hasSelectedText() ? 1 : 0; }

void TSpinEditAccessible::addSelection(int startOffset, int endOffset) { setSelection(0, startOffset, endOffset); }

void TSpinEditAccessible::removeSelection(int selectionIndex) {
    if (selectionIndex == 0) Line()->deselect();
}

void TSpinEditAccessible::setSelection(int selectionIndex, int startOffset, int endOffset) {
    if (selectionIndex == 0) Line()->setSelection(startOffset, endOffset - startOffset);
}

int TSpinEditAccessible::cursorPosition() const { return Line()->cursorPosition(); }

void TSpinEditAccessible::setCursorPosition(int position) { Line()->setCursorPosition(position); }

QString TSpinEditAccessible::text(int startOffset, int endOffset) const {
    const QString shown = Edit()->Text();
    if (startOffset < 0 || endOffset < startOffset || startOffset > shown.size()) return {};
    return shown.mid(startOffset, endOffset - startOffset);
}

int TSpinEditAccessible::characterCount() const { return int(Edit()->Text().size()); }

QRect TSpinEditAccessible::characterRect(int offset) const {
    const QLineEdit* line = Line();
    const QString shown = Edit()->Text();
    if (offset < 0 || offset >= shown.size()) return {};
    // A numeric field's text is short: it starts at the left of the line
    // edit's contents (plus the toolkit's two pixels) and never scrolls.
    const QFontMetrics metrics(line->font());
    const QRect contents = line->contentsRect().marginsRemoved(line->textMargins());
    const int top = contents.top() + (contents.height() - metrics.height()) / 2;
    const QRect local(contents.left() + 2 + metrics.horizontalAdvance(shown.left(offset)), top,
                      metrics.horizontalAdvance(shown.mid(offset, 1)), metrics.height());
    return QRect(line->mapToGlobal(local.topLeft()), local.size());
}

int TSpinEditAccessible::offsetAtPoint(const QPoint& point) const {
    QLineEdit* line = Line();
    const QPoint local = line->mapFromGlobal(point);
    return line->rect().contains(local) ? line->cursorPositionAt(local) : -1;
}

void TSpinEditAccessible::scrollToSubstring(int, int endIndex) { Line()->setCursorPosition(endIndex); }

QString TSpinEditAccessible::attributes(int offset, int* startOffset, int* endOffset) const {
    *startOffset = *endOffset = offset;
    return {};
}

void TSpinEditAccessible::deleteText(int startOffset, int endOffset) { Replace(startOffset, endOffset, {}); }

void TSpinEditAccessible::insertText(int offset, const QString& text) { Replace(offset, offset, text); }

void TSpinEditAccessible::replaceText(int startOffset, int endOffset, const QString& text) {
    Replace(startOffset, endOffset, text);
}

void TSpinEditAccessible::Replace(int start, int end, const QString& text) {
    QString candidate = Edit()->Text();
    const int count = int(candidate.size());
    start = std::clamp(start, 0, count);
    end = std::clamp(end, start, count);
    candidate.replace(start, end - start, text);
    int cursor = start + int(text.size());
    if (Edit()->isReadOnly() || Edit()->validate(candidate, cursor) == QValidator::Invalid) return;
    Edit()->SetText(candidate);
    Line()->setCursorPosition(start + int(text.size()));
}

} // namespace zb
