#include "model/SpinField.h"

#include <gtest/gtest.h>

#include <clocale>

using namespace zb;

TEST(SpinField, ReadsTheTextAsTyped) {
    struct Case {
        SpinField field;
        const char* text;
        double value;
    } cases[] = {
        // Start-up values of the paper page.
        {kBreitEd, "17,50", 17.5},
        {kHochEd, "28,00", 28.0},
        {kBreitVEd, "5,00", 5.0},
        {kHochVEd, "8,00", 8.0},
        {kDezVEd, "0,6250", 0.625},
        // Typing into W: 2, then 20; the empty field reads as the minimum.
        {kBreitEd, "2", 2.0},
        {kBreitEd, "20", 20.0},
        {kBreitEd, "", 1.0},
        // Typed values are read unchanged, outside the range too.
        {kBreitEd, "0", 0.0},
        {kBreitEd, "250", 250.0},
        {kBreitEd, "-3", -3.0},
        {kZoomEd, "5", 5.0},
        {kMSizeEd, "12,75", 12.75},
        // Half-typed and malformed texts read as the minimum.
        {kBreitEd, ",", 1.0},
        {kBreitEd, "-", 1.0},
        {kBreitEd, "1,2,3", 1.0},
        {kBreitEd, "1.000,5", 1.0},
        {kBreitEd, "12a", 1.0},
        {kBreitEd, "abc", 1.0},
        {kBreitEd, "1e", 1.0},
        {kBreitEd, "1e999", 1.0},
        {kBreitEd, "nan", 1.0},
        {kBreitEd, "inf", 1.0},
        {kAnzMEd, "0x10", 1.0},
        // What the field itself accepts besides digits.
        {kBreitEd, " 17,5 ", 17.5},
        {kBreitEd, "+4", 4.0},
        {kBreitEd, "3,", 3.0},
        {kBreitEd, ",5", 0.5},
        {kBreitEd, "1,5E1", 15.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_DOUBLE_EQ(c.field.Parse(c.text), c.value);
    }
}

TEST(SpinField, SeparatorIsTheOneGiven) {
    EXPECT_DOUBLE_EQ(kBreitEd.Parse("17.5", '.'), 17.5);
    EXPECT_DOUBLE_EQ(kBreitEd.Parse("17,5", '.'), 1.0);
    // A '.' typed under German settings is the decimal separator as well
    // (it used to be dropped: 17.5 became 175).
    EXPECT_DOUBLE_EQ(kBreitEd.Parse("17.5", ','), 17.5);
    EXPECT_DOUBLE_EQ(kBreitEd.Parse("1.000,5", ','), 1.0);
    EXPECT_EQ(kBreitEd.Format(17.5, '.'), "17.50");
}

TEST(SpinField, LayerEditorFields) {
    struct Case {
        SpinField field;
        double in;
        const char* text;
    } cases[] = {
        {kAnzMEd, 100, "100"},     {kAnzMEd, 0, "1"},          {kAnzMEd, 250000, "100000"},
        {kMSizeEd, 30, "30,0"},    {kMSizeEd, 0.5, "1,0"},     {kMSizeEd, 12.34, "12,3"},
        {kMSizeEd, 101, "100,0"},  {kPicBreitEd, 75, "75,0"},  {kPicBreitEd, 1000.5, "1000,0"},
        {kFSizeEd, 12, "12"},      {kFSizeEd, 200, "144"},     {kFSizeEd, 0, "1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.field.Format(c.in), c.text);
        EXPECT_DOUBLE_EQ(c.field.Parse(c.field.Format(c.in)), c.field.Limit(c.in));
    }
}

// A program whose C locale uses ',' (a German desktop) must still make and read
// the same texts.
TEST(SpinField, IndependentOfTheCLocale) {
    const char* german = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    if (german == nullptr) german = std::setlocale(LC_NUMERIC, "de_DE");
    EXPECT_EQ(kHochEd.Format(28.0), "28,00");
    EXPECT_EQ(kDezVEd.Format(5.0 / 7.0), "0,7143");
    EXPECT_DOUBLE_EQ(kBreitVEd.Limit(5.714285714), 5.71);
    EXPECT_DOUBLE_EQ(kBreitEd.Parse("17,5"), 17.5);
    std::setlocale(LC_NUMERIC, "C");
    if (german == nullptr) GTEST_SKIP() << "no German C locale installed; checked under C only";
}

TEST(SpinField, HugeValuesOfAFixedField) {
    // Min == Max fields are not limited: any finite value formats in full.
    SpinField info{1e300, 1e300, 2};
    std::string text = info.Format(1e300);
    EXPECT_EQ(text.size(), 301u + 3u);
    EXPECT_EQ(text.substr(0, 2), "10");
}
