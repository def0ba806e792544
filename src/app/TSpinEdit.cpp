#include "app/TSpinEdit.h"
#include "app/TSpinEditAccessible.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QStyleOptionSpinBox>

#include <algorithm>

namespace zb {

TSpinEdit::TSpinEdit(zb::SpinField field, double step, QWidget* parent)
    // The accessibility factory is in place before the base class and the
    // first text ask for this field's interface (Qt keeps the first one).
    : QAbstractSpinBox((TSpinEditAccessible::Install(), parent)), field_(field), step_(step),
      separator_(SeparatorOf(locale())) {
    lineEdit()->setText(QString::fromStdString(field_.Format(field_.Min, separator_)));
    connect(lineEdit(), &QLineEdit::textChanged, this, &TSpinEdit::Change);
}

char TSpinEdit::SeparatorOf(const QLocale& locale) {
    const QString point = locale.decimalPoint();
    if (point.size() == 1 && point.at(0).unicode() < 0x80 && !point.at(0).isDigit()) {
        return static_cast<char>(point.at(0).unicode());
    }
    return '.';
}

double TSpinEdit::Value() const {
    return field_.Parse(Text().toStdString(), separator_);
}

long double TSpinEdit::ExtendedValue() const {
    return field_.ParseExtended(Text().toStdString(), separator_);
}

void TSpinEdit::SetValue(double value) {
    // QLineEdit raises textChanged only when the text differs.
    lineEdit()->setText(QString::fromStdString(field_.Format(value, separator_)));
}

QString TSpinEdit::Text() const {
    return lineEdit()->text();
}

void TSpinEdit::SetText(const QString& text) {
    lineEdit()->setText(text);
}

void TSpinEdit::Commit() {
    SetValue(Value());
}

void TSpinEdit::stepBy(int steps) {
    SetValue(Value() + steps * step_);
    lineEdit()->selectAll();
}

QAbstractSpinBox::StepEnabled TSpinEdit::stepEnabled() const {
    if (isReadOnly()) return StepNone;
    if (field_.Min == field_.Max) return StepUpEnabled | StepDownEnabled;
    const double value = Value();
    StepEnabled enabled = StepNone;
    if (value < field_.Max) enabled |= StepUpEnabled;
    if (value > field_.Min) enabled |= StepDownEnabled;
    return enabled;
}

QValidator::State TSpinEdit::validate(QString& input, int&) const {
    // Keystrokes that can never be part of a number are refused; anything
    // else may stand while typing and is read as the minimum if need be.
    for (QChar c : input) {
        const bool allowed = c.isDigit() || c == u'+' || c == u'-' || c == u' ' ||
                             (field_.Decimals > 0 && (c == QLatin1Char(separator_) || c == u'.'));
        if (!allowed || c.unicode() >= 0x80) return QValidator::Invalid;
    }
    double value = 0;
    return ParseDecimal(input.toStdString(), separator_, value) ? QValidator::Acceptable
                                                                  : QValidator::Intermediate;
}

void TSpinEdit::fixup(QString& input) const {
    input = QString::fromStdString(field_.Format(field_.Parse(input.toStdString(), separator_), separator_));
}

void TSpinEdit::focusOutEvent(QFocusEvent* event) {
    QAbstractSpinBox::focusOutEvent(event);
    // A box that opens while the user types (a division by zero of the paper
    // rules) or another window taking the focus is not leaving the field: the
    // text stays as typed, and typing goes on when the focus comes back.
    const Qt::FocusReason reason = event->reason();
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return;
    Commit();
}

void TSpinEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) Commit();
    QAbstractSpinBox::keyPressEvent(event);
}

void TSpinEdit::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LocaleChange) {
        const char separator = SeparatorOf(locale());
        if (separator != separator_) {
            const double value = Value();
            separator_ = separator;
            SetValue(value);
        }
    }
    QAbstractSpinBox::changeEvent(event);
}

QSize TSpinEdit::sizeHint() const {
    ensurePolished();
    const QFontMetrics metrics(fontMetrics());
    const int widest = std::max(metrics.horizontalAdvance(QString::fromStdString(field_.Format(field_.Min, separator_))),
                                metrics.horizontalAdvance(QString::fromStdString(field_.Format(field_.Max, separator_))));
    // Two pixels for the cursor, as the toolkit's own spin boxes allow.
    QSize hint(widest + 2, lineEdit()->sizeHint().height());
    QStyleOptionSpinBox option;
    initStyleOption(&option);
    return style()->sizeFromContents(QStyle::CT_SpinBox, &option, hint, this);
}

QSize TSpinEdit::minimumSizeHint() const {
    // The whole range stays readable however tight the page gets.
    return sizeHint();
}

} // namespace zb
