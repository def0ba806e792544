#include "model/PaperFormat.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace zb {

namespace {

constexpr SpinField kFields[kPaperFieldCount] = {kBreitEd, kHochEd, kBreitVEd, kHochVEd, kDezVEd};

// Limits to the field's range (unless its ends are equal) and rounds through
// the fixed-point text the field shows.
long double LimitField(const SpinField& f, long double value) {
    if (std::isnan(value)) value = f.Min;
    if (f.Min != f.Max) {
        if (value < f.Min) value = f.Min;
        if (value > f.Max) value = f.Max;
    }
    char text[80];
    std::snprintf(text, sizeof text, "%.*Lf", f.Decimals, value);
    return std::strtold(text, nullptr);
}

} // namespace

const SpinField& PaperFieldSpin(PaperField field) { return kFields[int(field)]; }

PaperFormat::PaperFormat() {
    // The form's values before start-up runs the ratio rule once.
    values_ = {17.5L, 18.0L, 5.0L, 8.0L, 5.0L};
}

std::string PaperFormat::Text(PaperField field, char separator) const {
    char text[80];
    std::snprintf(text, sizeof text, "%.*Lf", PaperFieldSpin(field).Decimals, Read(field));
    std::string s(text);
    for (char& c : s)
        if (c == '.') c = separator;
    return s;
}

void PaperFormat::Assign(PaperField field, long double value) {
    values_[size_t(field)] = LimitField(PaperFieldSpin(field), value);
    changed_ |= 1u << int(field);
}

PaperRuleResult PaperFormat::Set(PaperField field, long double value) {
    const std::string before = Text(field);
    Assign(field, value);
    if (Text(field) == before || updating_) return {};
    return Changed(field);
}

PaperRuleResult PaperFormat::SetNamedSize(double width, double height) {
    const bool keepRatio = SVerh;
    SVerh = false;
    PaperRuleResult r = Set(PaperField::Breit, width);
    if (r.error.empty()) {
        const PaperRuleResult h = Set(PaperField::Hoch, height);
        r.invalidateDesign = r.invalidateDesign || h.invalidateDesign;
        r.error = h.error;
    }
    SVerh = keepRatio;
    return r;
}

PaperRuleResult PaperFormat::Type(PaperField field, long double value) {
    values_[size_t(field)] = value;
    return Changed(field);
}

PaperRuleResult PaperFormat::Leave(PaperField field) {
    const SpinField& f = PaperFieldSpin(field);
    const long double v = Read(field);
    if (v >= f.Min && v <= f.Max) return {};
    return Set(field, v);
}

unsigned PaperFormat::TakeChangedFields() {
    const unsigned c = changed_;
    changed_ = 0;
    return c;
}

bool PaperFormat::Divide(long double numerator, long double denominator, long double& quotient,
                         std::string& error) const {
    if (denominator == 0) {
        error = numerator == 0 ? kInvalidOperationMessage : kDivisionByZeroMessage;
        return false;
    }
    quotient = numerator / denominator;
    return true;
}

PaperRuleResult PaperFormat::Changed(PaperField field) {
    switch (field) {
    case PaperField::Breit: return BreitEdChange();
    case PaperField::Hoch: return HochEdChange();
    case PaperField::BreitV: return BreitVEdChange();
    case PaperField::HochV: return HochVEdChange();
    case PaperField::DezV: return DezVEdChange();
    }
    return {};
}

PaperRuleResult PaperFormat::BreitEdChange() { return SheetEdited(true); }
PaperRuleResult PaperFormat::HochEdChange() { return SheetEdited(false); }

PaperRuleResult PaperFormat::SheetEdited(bool widthEdited) {
    PaperRuleResult r;
    if (updating_) return r;
    r.invalidateDesign = true;
    updating_ = true;
    using F = PaperField;
    long double q = 0;
    [&] {
        if (SVerh) {
            if (widthEdited) {
                // H := (W x RH) / RW
                if (!Divide(Read(F::Breit) * Read(F::HochV), Read(F::BreitV), q, r.error)) return;
                Assign(F::Hoch, q);
            } else {
                // W := (H x RW) / RH
                if (!Divide(Read(F::Hoch) * Read(F::BreitV), Read(F::HochV), q, r.error)) return;
                Assign(F::Breit, q);
            }
            return;
        }
        // The ratio follows the sheet.
        if (HoldWidth) {
            // RH := (H x RW) / W
            if (!Divide(Read(F::Hoch) * Read(F::BreitV), Read(F::Breit), q, r.error)) return;
            Assign(F::HochV, q);
        } else {
            // RW := (1 / (H / W)) x RH
            long double hw = 0, inverse = 0;
            if (!Divide(Read(F::Hoch), Read(F::Breit), hw, r.error)) return;
            if (!Divide(1, hw, inverse, r.error)) return;
            Assign(F::BreitV, inverse * Read(F::HochV));
        }
        // D := RW / RH
        if (!Divide(Read(F::BreitV), Read(F::HochV), q, r.error)) return;
        Assign(F::DezV, q);
    }();
    updating_ = false;
    return r;
}

PaperRuleResult PaperFormat::BreitVEdChange() {
    PaperRuleResult r;
    if (updating_) return r;
    updating_ = true;
    using F = PaperField;
    long double q = 0;
    [&] {
        if (HoldWidth2) {
            // H := (W x RH) / RW
            if (!Divide(Read(F::Breit) * Read(F::HochV), Read(F::BreitV), q, r.error)) return;
            Assign(F::Hoch, q);
        } else {
            // W := (H x RW) / RH
            if (!Divide(Read(F::Hoch) * Read(F::BreitV), Read(F::HochV), q, r.error)) return;
            Assign(F::Breit, q);
        }
        // D := RW / RH
        if (!Divide(Read(F::BreitV), Read(F::HochV), q, r.error)) return;
        Assign(F::DezV, q);
        // The sheet size has been rewritten.
        r.invalidateDesign = true;
    }();
    updating_ = false;
    return r;
}

PaperRuleResult PaperFormat::DezVEdChange() {
    PaperRuleResult r;
    if (updating_) return r;
    updating_ = true;
    using F = PaperField;
    long double q = 0;
    if (HoldWidth) {
        // RH := RW / D
        if (Divide(Read(F::BreitV), Read(F::DezV), q, r.error)) Assign(F::HochV, q);
    } else {
        // RW := RH x D
        Assign(F::BreitV, Read(F::HochV) * Read(F::DezV));
    }
    // The sheet keeps its size until W, H or a ratio part is edited.
    updating_ = false;
    return r;
}

void PaperFormat::Load(const PaperSettings& paper) {
    const bool was = updating_;
    updating_ = true;
    Assign(PaperField::Breit, paper.Breit);
    Assign(PaperField::Hoch, paper.Hoch);
    Assign(PaperField::BreitV, paper.BreitV);
    Assign(PaperField::HochV, paper.HochV);
    Assign(PaperField::DezV, paper.DezV);
    SVerh = paper.SVerh;
    HoldWidth = paper.HoldWidth;
    HoldWidth2 = paper.HoldWidth2;
    updating_ = was;
}

void PaperFormat::Store(PaperSettings& paper) const {
    // A value still being typed is stored as the field will show it.
    auto limited = [&](PaperField f) { return double(LimitField(PaperFieldSpin(f), Read(f))); };
    paper.Breit = limited(PaperField::Breit);
    paper.Hoch = limited(PaperField::Hoch);
    paper.BreitV = limited(PaperField::BreitV);
    paper.HochV = limited(PaperField::HochV);
    paper.DezV = limited(PaperField::DezV);
    paper.SVerh = SVerh;
    paper.HoldWidth = HoldWidth;
    paper.HoldWidth2 = HoldWidth2;
}

} // namespace zb
