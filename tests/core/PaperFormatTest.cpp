#include <gtest/gtest.h>

#include <string>

#include "model/NamedPaper.h"
#include "model/PaperFormat.h"

using zb::PaperField;
using zb::PaperFormat;

namespace {

// The state after start-up: the form's values, then the ratio rule once.
struct StartedUp {
    PaperFormat paper;
    StartedUp() {
        paper.BreitVEdChange();
        paper.TakeChangedFields();
    }
    std::string Shown() const {
        return paper.Text(PaperField::Breit) + " x " + paper.Text(PaperField::Hoch) + ", " +
               paper.Text(PaperField::BreitV) + " : " + paper.Text(PaperField::HochV) + ", " +
               paper.Text(PaperField::DezV);
    }
};

constexpr unsigned Bit(PaperField f) { return 1u << int(f); }

} // namespace

TEST(PaperFormat, StartUpState) {
    StartedUp s;
    EXPECT_EQ(s.Shown(), "17,50 x 28,00, 5,00 : 8,00, 0,6250");
    EXPECT_FALSE(s.paper.Updating());
}

// Each case starts from the start-up state, sets the check box and radio
// buttons, then sets (or types) one field.
TEST(PaperFormat, CouplingRules) {
    struct Case {
        const char* what;
        bool sverh, holdWidth, holdWidth2;
        PaperField field;
        long double value;
        bool typed;
        const char* shown;
        bool invalidates;
        unsigned rewritten;
    };
    using F = PaperField;
    const Case cases[] = {
        {"ratio kept: W 20 gives H 32", true, true, true, F::Breit, 20, false, "20,00 x 32,00, 5,00 : 8,00, 0,6250",
         true, Bit(F::Breit) | Bit(F::Hoch)},
        {"ratio kept: H 16 gives W 10", true, true, true, F::Hoch, 16, false, "10,00 x 16,00, 5,00 : 8,00, 0,6250",
         true, Bit(F::Breit) | Bit(F::Hoch)},
        {"ratio follows, RW held: RH 28 x 5 / 20", false, true, true, F::Breit, 20, false,
         "20,00 x 28,00, 5,00 : 7,00, 0,7143", true, Bit(F::Breit) | Bit(F::HochV) | Bit(F::DezV)},
        {"ratio follows, RH held: RW (1 / (28 / 20)) x 8, D from the rounded RW", false, false, true, F::Breit, 20,
         false, "20,00 x 28,00, 5,71 : 8,00, 0,7138", true, Bit(F::Breit) | Bit(F::BreitV) | Bit(F::DezV)},
        {"H edited, ratio follows with RW held", false, true, true, F::Hoch, 14, false,
         "17,50 x 14,00, 5,00 : 4,00, 1,2500", true, Bit(F::Hoch) | Bit(F::HochV) | Bit(F::DezV)},
        {"RW 10 with W held gives H 14", true, true, true, F::BreitV, 10, false, "17,50 x 14,00, 10,00 : 8,00, 1,2500",
         true, Bit(F::BreitV) | Bit(F::Hoch) | Bit(F::DezV)},
        {"RH 4 with H held gives W 35", true, true, false, F::HochV, 4, false, "35,00 x 28,00, 5,00 : 4,00, 1,2500",
         true, Bit(F::HochV) | Bit(F::Breit) | Bit(F::DezV)},
        {"D with RW held changes only RH", true, true, true, F::DezV, 0.5, false, "17,50 x 28,00, 5,00 : 10,00, 0,5000",
         false, Bit(F::DezV) | Bit(F::HochV)},
        {"D with RH held changes only RW", true, false, true, F::DezV, 0.5, false, "17,50 x 28,00, 4,00 : 8,00, 0,5000",
         false, Bit(F::DezV) | Bit(F::BreitV)},
        {"a limited value stops there: W 70 gives H 100, not 112", true, true, true, F::Breit, 70, false,
         "70,00 x 100,00, 5,00 : 8,00, 0,6250", true, Bit(F::Breit) | Bit(F::Hoch)},
        {"typing 2 into W", true, true, true, F::Breit, 2, true, "2,00 x 3,20, 5,00 : 8,00, 0,6250", true,
         Bit(F::Hoch)},
        {"an empty W reads as its minimum 1", true, true, true, F::Breit, 1, true, "1,00 x 1,60, 5,00 : 8,00, 0,6250",
         true, Bit(F::Hoch)},
        {"a result of 0 sets the minimum without an error", true, true, true, F::Breit, 0, true,
         "0,00 x 1,00, 5,00 : 8,00, 0,6250", true, Bit(F::Hoch)},
        {"setting the shown value again runs no rule", true, true, true, F::Breit, 17.5, false,
         "17,50 x 28,00, 5,00 : 8,00, 0,6250", false, Bit(F::Breit)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        StartedUp s;
        s.paper.SVerh = c.sverh;
        s.paper.HoldWidth = c.holdWidth;
        s.paper.HoldWidth2 = c.holdWidth2;
        const zb::PaperRuleResult r = c.typed ? s.paper.Type(c.field, c.value) : s.paper.Set(c.field, c.value);
        EXPECT_EQ(s.Shown(), c.shown);
        EXPECT_EQ(r.invalidateDesign, c.invalidates);
        EXPECT_EQ(r.error, "");
        EXPECT_EQ(s.paper.TakeChangedFields(), c.rewritten);
        EXPECT_FALSE(s.paper.Updating());
    }
}

// A typed text enters the rules in extended precision, as their other
// operands do (read as a double first, the last digit came out one lower).
TEST(PaperFormat, TypedTextsEnterInExtendedPrecision) {
    struct Case {
        double hoch, breitV, hochV;
        bool sverh;
        const char* typedWidth;
        PaperField result;
        const char* shown;
    } cases[] = {
        {8, 2, 1, true, "2,13", PaperField::Hoch, "1,07"},
        {8, 2, 3, true, "1,19", PaperField::Hoch, "1,79"},
        {1, 3, 5, false, "1,60", PaperField::HochV, "1,88"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typedWidth);
        PaperFormat paper;
        zb::PaperSettings p;
        p.Hoch = c.hoch;
        p.BreitV = c.breitV;
        p.HochV = c.hochV;
        p.SVerh = c.sverh;
        paper.Load(p);
        paper.Type(PaperField::Breit, zb::kBreitEd.ParseExtended(c.typedWidth));
        EXPECT_EQ(paper.Text(c.result), c.shown);
    }
}

TEST(PaperFormat, TypingRecomputesAtEveryKeystroke) {
    StartedUp s;
    s.paper.Type(PaperField::Breit, 2);
    EXPECT_EQ(s.paper.Text(PaperField::Hoch), "3,20");
    s.paper.Type(PaperField::Breit, 20);
    EXPECT_EQ(s.paper.Text(PaperField::Hoch), "32,00");
    // A typed value outside the range reads unchanged until the field is left.
    s.paper.Type(PaperField::Breit, 150);
    EXPECT_EQ(s.paper.Read(PaperField::Breit), 150);
    EXPECT_EQ(s.paper.Text(PaperField::Hoch), "100,00");
    s.paper.Leave(PaperField::Breit);
    EXPECT_EQ(s.paper.Text(PaperField::Breit), "100,00");
    EXPECT_EQ(s.paper.Text(PaperField::Hoch), "100,00"); // 100 x 8 / 5 = 160, limited
}

// A zero divisor while the user types stops the rule with the platform's
// message; fields set before keep their values, and the next edit works.
TEST(PaperFormat, DivisionByZeroStopsTheRule) {
    struct Case {
        const char* what;
        bool sverh, holdWidth;
        PaperField field;
        const char* shown;
        bool invalidates;
    };
    using F = PaperField;
    const Case cases[] = {
        {"RH := (H x RW) / W with W 0", false, true, F::Breit, "0,00 x 28,00, 5,00 : 8,00, 0,6250", true},
        {"RW := (1 / (H / W)) x RH with W 0", false, false, F::Breit, "0,00 x 28,00, 5,00 : 8,00, 0,6250", true},
        {"H := (W x RH) / RW with RW 0", true, true, F::BreitV, "17,50 x 28,00, 0,00 : 8,00, 0,6250", false},
        {"W := (H x RW) / RH with RH 0 and H held", true, true, F::HochV, "17,50 x 28,00, 5,00 : 0,00, 0,6250",
         false},
        {"RH := RW / D with D 0", true, true, F::DezV, "17,50 x 28,00, 5,00 : 8,00, 0,0000", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        StartedUp s;
        s.paper.SVerh = c.sverh;
        s.paper.HoldWidth = c.holdWidth;
        s.paper.HoldWidth2 = c.field != F::HochV;
        const zb::PaperRuleResult r = s.paper.Type(c.field, 0);
        EXPECT_EQ(r.error, "Floating point division by zero.");
        EXPECT_EQ(r.invalidateDesign, c.invalidates);
        EXPECT_EQ(s.Shown(), c.shown);
        EXPECT_FALSE(s.paper.Updating());
        // The next keystroke works normally.
        EXPECT_EQ(s.paper.Type(c.field, 4).error, "");
    }
    // H reading 0 makes 1 / (H / W) divide by zero; W reading 0 as well makes
    // H / W divide zero by zero, which the platform calls an invalid operation.
    StartedUp s;
    s.paper.SVerh = false;
    s.paper.HoldWidth = false;
    EXPECT_EQ(s.paper.Type(PaperField::Hoch, 0).error, "Floating point division by zero.");
    EXPECT_EQ(s.paper.Type(PaperField::Breit, 0).error, "Invalid floating point operation.");
}

TEST(PaperFormat, NothingRunsWhileUpdating) {
    StartedUp s;
    PaperFormat::Quiet quiet(s.paper);
    const zb::PaperRuleResult r = s.paper.Set(PaperField::Breit, 20);
    EXPECT_FALSE(r.invalidateDesign);
    EXPECT_EQ(s.Shown(), "20,00 x 28,00, 5,00 : 8,00, 0,6250");
    EXPECT_TRUE(s.paper.Updating());
    for (PaperField f : {PaperField::Breit, PaperField::Hoch, PaperField::BreitV, PaperField::HochV, PaperField::DezV})
        EXPECT_FALSE(s.paper.Changed(f).invalidateDesign);
    EXPECT_EQ(s.Shown(), "20,00 x 28,00, 5,00 : 8,00, 0,6250");
}

TEST(PaperFormat, LoadsAndStoresWithoutRules) {
    StartedUp s;
    zb::PaperSettings file;
    file.Breit = 12.345;
    file.Hoch = 50;
    file.BreitV = 3;
    file.HochV = 4;
    file.DezV = 0.1;
    file.SVerh = false;
    file.HoldWidth = false;
    file.HoldWidth2 = false;
    s.paper.Load(file);
    EXPECT_FALSE(s.paper.Updating());
    EXPECT_EQ(s.Shown(), "12,35 x 50,00, 3,00 : 4,00, 0,1000");
    zb::PaperSettings back;
    s.paper.Type(PaperField::Hoch, 500); // still being typed
    s.paper.Store(back);
    EXPECT_DOUBLE_EQ(back.Breit, 12.35);
    EXPECT_DOUBLE_EQ(back.Hoch, 100);
    EXPECT_FALSE(back.SVerh);
    EXPECT_FALSE(back.HoldWidth);
    EXPECT_FALSE(back.HoldWidth2);
}

// A size chosen by name lands exactly in W x H whatever the ratio and its
// check box say; the ratio fields follow the sheet; the sizes are found
// again by name, and any other size is "Benutzerdefiniert".
TEST(NamedPaper, FillsWidthAndHeightAndIsFoundAgain) {
    struct Case {
        zb::NamedPaper paper;
        zb::PaperOrientation orientation;
        const char* shown;
    };
    const Case cases[] = {
        {zb::kPaperA5, zb::kPortrait, "14,80 x 21,00, 5,00 : 7,09, 0,7052"},
        {zb::kPaperA4, zb::kPortrait, "21,00 x 29,70, 5,00 : 7,07, 0,7072"},
        {zb::kPaperA3, zb::kLandscape, "42,00 x 29,70, 5,00 : 3,54, 1,4124"},
        {zb::kPaperA2, zb::kPortrait, "42,00 x 59,40, 5,00 : 7,07, 0,7072"},
        {zb::kPaperLetter, zb::kLandscape, "27,94 x 21,59, 5,00 : 3,86, 1,2953"},
        {zb::kPaperLegal, zb::kPortrait, "21,59 x 35,56, 5,00 : 8,24, 0,6068"},
        {zb::kPaperGiftWrap, zb::kLandscape, "70,00 x 50,00, 5,00 : 3,57, 1,4006"},
    };
    for (const bool keepRatio : {true, false}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(zb::kNamedPaperCaptions[size_t(c.paper)]) + (keepRatio ? ", ratio kept" : ""));
            StartedUp s;
            s.paper.SVerh = keepRatio;
            const zb::PaperSizeCm size = zb::NamedPaperSize(c.paper, c.orientation);
            const zb::PaperRuleResult r = s.paper.SetNamedSize(size.width, size.height);
            EXPECT_EQ(r.error, "");
            EXPECT_TRUE(r.invalidateDesign);
            EXPECT_EQ(s.Shown(), c.shown);
            EXPECT_EQ(s.paper.SVerh, keepRatio);
            zb::PaperOrientation found = zb::kPortrait;
            EXPECT_EQ(zb::NamedPaperOf(double(s.paper.Read(PaperField::Breit)), double(s.paper.Read(PaperField::Hoch)),
                                       &found),
                      c.paper);
            EXPECT_EQ(found, c.orientation);
        }
    }
    zb::PaperOrientation found = zb::kPortrait;
    EXPECT_EQ(zb::NamedPaperOf(21.0, 29.8, &found), zb::kPaperCustom);
    EXPECT_EQ(zb::NamedPaperOf(30.0, 20.0, &found), zb::kPaperCustom);
    EXPECT_EQ(found, zb::kLandscape);
    EXPECT_EQ(zb::NamedPaperSize(zb::kPaperCustom, zb::kPortrait).width, 0.0);
}
