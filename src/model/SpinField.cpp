#include "model/SpinField.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace zb {

double SpinField::Limit(double value) const {
    if (std::isnan(value)) value = Min;
    if (Min != Max) {
        if (value < Min) value = Min;
        if (value > Max) value = Max;
    }
    // Round through the same fixed-point text the field shows.
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", Decimals, value);
    return std::strtod(text, nullptr);
}

std::string SpinField::Format(double value, char separator) const {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", Decimals, Limit(value));
    std::string s(text);
    for (char& c : s) {
        if (c == '.') c = separator;
    }
    return s;
}

} // namespace zb
