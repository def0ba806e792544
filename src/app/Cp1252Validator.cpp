#include "app/Cp1252Validator.h"

#include "model/Cp1252.h"

namespace zb {

QValidator::State Cp1252Validator::validate(QString& input, int&) const {
    return IsCp1252Representable(input.toStdString()) ? Acceptable : Invalid;
}

} // namespace zb
