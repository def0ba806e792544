#include "model/SpinField.h"

#include <charconv>
#include <cmath>

namespace zb {

namespace {

// Large enough for any finite double in fixed notation (309 digits) plus decimals.
constexpr int kTextCapacity = 400;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

} // namespace

double SpinField::Limit(double value) const {
    if (std::isnan(value)) value = Min;
    if (Min != Max) {
        if (value < Min) value = Min;
        if (value > Max) value = Max;
    }
    if (!std::isfinite(value)) return value;
    // Round through the same fixed-point text the field shows.
    char text[kTextCapacity];
    auto written = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, Decimals);
    if (written.ec != std::errc()) return value;
    double rounded = value;
    std::from_chars(text, written.ptr, rounded);
    return rounded;
}

std::string SpinField::Format(double value, char separator) const {
    char text[kTextCapacity];
    auto written = std::to_chars(text, text + sizeof text, Limit(value), std::chars_format::fixed, Decimals);
    if (written.ec != std::errc()) return std::string();
    std::string s(text, written.ptr);
    for (char& c : s) {
        if (c == '.') c = separator;
    }
    return s;
}

double SpinField::Parse(std::string_view text, char separator) const {
    double value = 0;
    return ParseDecimal(text, separator, value) ? value : Min;
}

long double SpinField::ParseExtended(std::string_view text, char separator) const {
    long double value = 0;
    return ParseDecimal(text, separator, value) ? value : (long double)Min;
}

namespace {

// The shape check of ParseDecimal; `plain` gets the number with a '.' as
// from_chars reads it.
bool DecimalShape(std::string_view text, char separator, std::string& plain) {
    size_t begin = 0, end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    // Check the whole shape first, then hand a '.' copy to from_chars, which
    // takes no leading '+' and knows no other separator.
    size_t i = begin;
    if (i < end && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-') plain += '-';
        ++i;
    }
    int digits = 0;
    bool separatorSeen = false;
    for (; i < end; ++i) {
        char c = text[i];
        if (IsDigit(c)) {
            ++digits;
            plain += c;
        } else if ((c == separator || c == '.') && !separatorSeen) {
            separatorSeen = true;
            plain += '.';
        } else {
            break;
        }
    }
    if (digits == 0) return false;
    if (i < end && (text[i] == 'e' || text[i] == 'E')) {
        plain += 'e';
        ++i;
        if (i < end && (text[i] == '+' || text[i] == '-')) plain += text[i++];
        int exponentDigits = 0;
        for (; i < end && IsDigit(text[i]); ++i, ++exponentDigits) plain += text[i];
        if (exponentDigits == 0) return false;
    }
    return i == end;
}

template <class Real>
bool ParseAs(std::string_view text, char separator, Real& value) {
    std::string plain;
    if (!DecimalShape(text, separator, plain)) return false;
    Real parsed = 0;
    auto result = std::from_chars(plain.data(), plain.data() + plain.size(), parsed);
    if (result.ec != std::errc() || result.ptr != plain.data() + plain.size()) return false;
    value = parsed;
    return true;
}

} // namespace

bool ParseDecimal(std::string_view text, char separator, double& value) { return ParseAs(text, separator, value); }

bool ParseDecimal(std::string_view text, char separator, long double& value) {
    return ParseAs(text, separator, value);
}

} // namespace zb
