#include "app/TSpinEditAccessible.h"

#include "app/TSpinEdit.h"

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

} // namespace zb
