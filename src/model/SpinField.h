#pragma once
// Numeric fields of the editor hold their value as text: setting a value limits
// it to the field's range and rounds it to the field's decimals. The model keeps
// the value such a field would show, so a design reads back exactly as shown.
//
// Text is made and read without the C library's locale: the separator is
// always the one passed in, whatever LC_NUMERIC the process runs under.
#include <string>
#include <string_view>

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
    // Reads a field's text as it stands, not limited: a typed value outside the
    // range reads unchanged. A text that is not a number (the empty text
    // included) reads as Min.
    double Parse(std::string_view text, char separator = ',') const;
    // The same in extended precision, as the coupling rules compute.
    long double ParseExtended(std::string_view text, char separator = ',') const;
};

// Reads a decimal number: optional blanks, sign, digits with at most one
// separator, an optional exponent, optional blanks; false for anything else
// (a second separator, letters, out of the type's range). A '.' counts as the
// separator too: a user who types 17.5 under German settings means 17,5.
bool ParseDecimal(std::string_view text, char separator, double& value);
bool ParseDecimal(std::string_view text, char separator, long double& value);

inline constexpr SpinField kBreitEd{1, 100, 2};
inline constexpr SpinField kHochEd{1, 100, 2};
inline constexpr SpinField kBreitVEd{0.01, 100000, 2};
inline constexpr SpinField kHochVEd{0.01, 100000, 2};
inline constexpr SpinField kDezVEd{0.0001, 1000000, 4};
inline constexpr SpinField kZoomEd{10, 300, 0};
inline constexpr SpinField kRandXEd{0, 10, 2};
inline constexpr SpinField kRandYEd{0, 10, 2};
// Layer editor: shape count and text size are whole numbers (stored truncated);
// shape size and picture width take tenths of a millimetre.
inline constexpr SpinField kAnzMEd{1, 100000, 0};
inline constexpr SpinField kMSizeEd{1, 100, 1};
inline constexpr SpinField kPicBreitEd{1, 1000, 1};
inline constexpr SpinField kFSizeEd{1, 144, 0};

} // namespace zb
