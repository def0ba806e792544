#pragma once
// Numeric fields of the editor hold their value as text: setting a value limits
// it to the field's range and rounds it to the field's decimals. The model keeps
// the value such a field would show, so a design reads back exactly as shown.
#include <string>

namespace zb {

struct SpinField {
    double Min;
    double Max;
    int Decimals;

    // Limits to Min .. Max (unless Min == Max) and rounds to Decimals the way
    // the field's fixed-point text does.
    double Limit(double value) const;
    // Fixed-point text with the given decimal separator (',' under German settings).
    std::string Format(double value, char separator = ',') const;
};

inline constexpr SpinField kBreitEd{1, 100, 2};
inline constexpr SpinField kHochEd{1, 100, 2};
inline constexpr SpinField kBreitVEd{0.01, 100000, 2};
inline constexpr SpinField kHochVEd{0.01, 100000, 2};
inline constexpr SpinField kDezVEd{0.0001, 1000000, 4};
inline constexpr SpinField kZoomEd{10, 300, 0};
inline constexpr SpinField kRandXEd{0, 10, 2};
inline constexpr SpinField kRandYEd{0, 10, 2};

} // namespace zb
