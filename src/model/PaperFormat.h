#pragma once
// The paper format's five coupled fields: design width W and height H in
// centimetres, the ratio parts RW : RH and the ratio as one number D. Editing
// one of them recomputes others by fixed rules; every computed value is
// limited to its field's range and rounded to its decimals before the next
// rule reads it, exactly as if it had been written into the field's text.
//
// The class is the fields' state without widgets: the window's spin edits
// mirror it (ChangedFields() says which ones a rule rewrote), and the window
// passes every keystroke in with Type(). Rules compute in extended precision.
//
// The class owns its re-entrancy guard: while a rule (or Load) writes fields,
// their own change rules do not run.
#include <array>
#include <cstdint>
#include <string>

#include "model/Design.h"
#include "model/SpinField.h"

namespace zb {

enum class PaperField : int {
    Breit = 0,  // BreitEd, "Breite:" ... "cm"
    Hoch = 1,   // HochEd, "Höhe:" ... "cm"
    BreitV = 2, // BreitVEd, "Verhältnis:"
    HochV = 3,  // HochVEd, after "zu"
    DezV = 4    // DezVEd, "Dezimal:"
};
inline constexpr int kPaperFieldCount = 5;

// The field descriptions, in PaperField order.
const SpinField& PaperFieldSpin(PaperField field);

// The message the standard error box shows (titled "Zierbogen-Drucker") when
// a rule divides by zero.
inline constexpr const char* kDivisionByZeroMessage = "Floating point division by zero.";
// ... and when it divides zero by zero.
inline constexpr const char* kInvalidOperationMessage = "Invalid floating point operation.";

struct PaperRuleResult {
    // The design's size changed: clear DesignValid.
    bool invalidateDesign = false;
    // Empty, or the floating-point error to show; the rule stopped at it.
    std::string error;
};

class PaperFormat {
public:
    // Start-up state: W 17.5, H 18 (as the form holds them before the first
    // rule), 5 : 8, D 5, the width held in both groups, the ratio kept.
    PaperFormat();

    // While a Quiet lives, setting a field runs no change rule (as while the
    // window loads the fields).
    class Quiet {
    public:
        explicit Quiet(PaperFormat& paper) : paper_(paper), was_(paper.updating_) { paper.updating_ = true; }
        ~Quiet() { paper_.updating_ = was_; }
        Quiet(const Quiet&) = delete;
        Quiet& operator=(const Quiet&) = delete;

    private:
        PaperFormat& paper_;
        bool was_;
    };
    // True while a rule or a Quiet is at work.
    bool Updating() const { return updating_; }

    // What the field reads now: a typed value unchanged, a set value limited
    // and rounded.
    long double Read(PaperField field) const { return values_[size_t(field)]; }
    // Its text with the given decimal separator (typed values as they read).
    std::string Text(PaperField field, char separator = ',') const;

    // Sets the field the way the program does (limited, rounded). When the
    // shown value changes and Updating is clear, the field's change rule runs.
    PaperRuleResult Set(PaperField field, long double value);
    // The user typed: the field reads `value` as it is (even outside its
    // range; a text that is no number reads as the minimum, which the caller
    // passes), and its change rule runs.
    PaperRuleResult Type(PaperField field, long double value);
    // The field lost the focus: a value outside its range is set again, limited.
    PaperRuleResult Leave(PaperField field);

    // A size chosen by name: W and H are set one after the other, each
    // through its change rule with the ratio following the sheet (as typed
    // with "Seitenverhältnis beibehalten" off), so the sheet gets exactly
    // that size and the ratio fields show its ratio. SVerh stays as it was.
    PaperRuleResult SetNamedSize(double width, double height);

    // The change rules of the five fields (what their change events do).
    PaperRuleResult BreitEdChange();
    PaperRuleResult HochEdChange();
    PaperRuleResult BreitVEdChange(); // HochVEdChange is the same rule
    PaperRuleResult HochVEdChange() { return BreitVEdChange(); }
    PaperRuleResult DezVEdChange();
    PaperRuleResult Changed(PaperField field);

    // The check box and the two radio groups.
    bool SVerh = true;      // "Seitenverhältnis beibehalten"
    bool HoldWidth = true;  // ratio group: recomputing the ratio keeps RW ("Breite fest lassen")
    bool HoldWidth2 = true; // size group: a ratio edit keeps W ("Breite fest lassen")

    // Bit i set: field i was rewritten by a rule or by Set since the last call.
    unsigned TakeChangedFields();

    // Loads the values of a design file under Updating (no rule runs) and
    // writes the current ones back.
    void Load(const PaperSettings& paper);
    void Store(PaperSettings& paper) const;

private:
    // X := value, under the rule's Updating: limited, rounded, no rule runs.
    void Assign(PaperField field, long double value);
    // numerator / denominator, or false with the error noted.
    bool Divide(long double numerator, long double denominator, long double& quotient, std::string& error) const;
    // Steps 3 and 4 of the width and height rules.
    PaperRuleResult SheetEdited(bool widthEdited);

    bool updating_ = false;
    std::array<long double, kPaperFieldCount> values_{};
    unsigned changed_ = 0;
};

} // namespace zb
