#pragma once
// What assistive technology sees of a numeric field: its text, and its value
// as a number that can be read and set, with the field's range and step.
// Qt's own spin box interface knows only QSpinBox's value and would report 0.
#include <QAccessibleWidget>

namespace zb {

class TSpinEdit;

class TSpinEditAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
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

private:
    TSpinEdit* Edit() const;
};

} // namespace zb
