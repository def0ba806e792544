#pragma once
// Keeps a line edit to the characters a design file can store (Windows-1252):
// a character outside that set is refused as it is typed or pasted, instead
// of turning into "?" in the layer.
#include <QValidator>

namespace zb {

class Cp1252Validator : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};

} // namespace zb
