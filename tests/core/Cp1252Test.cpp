#include <gtest/gtest.h>

#include <string>

#include "model/Cp1252.h"

TEST(Cp1252, EveryByteSurvivesARoundTripThroughUtf8) {
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(char(b));
    const std::string utf8 = zb::Cp1252ToUtf8(all);
    EXPECT_TRUE(zb::IsCp1252Representable(utf8));
    EXPECT_EQ(zb::Utf8ToCp1252(utf8), all);
}

TEST(Cp1252, ConvertsUmlautsAndTheWindowsOnlyCharacters) {
    EXPECT_EQ(zb::Cp1252ToUtf8("Gr\xFC\xDF" "e"), "Grüße");
    EXPECT_EQ(zb::Utf8ToCp1252("Größe: 12 €"), "Gr\xF6\xDF" "e: 12 \x80");
    EXPECT_EQ(zb::Cp1252ToUtf8("\x84" "Anf\xFChrung\x93 \x96 \x85"), "„Anführung“ – …");
    EXPECT_EQ(zb::Cp1252ToCodePoint(0x9F), U'\u0178'); // Ÿ
    EXPECT_EQ(zb::CodePointToCp1252(U'\u0178'), 0x9F);
    EXPECT_EQ(zb::CodePointToCp1252(0x80), -1); // the C1 control, not the euro sign
    EXPECT_EQ(zb::CodePointToCp1252(0x81), 0x81);
}

TEST(Cp1252, ReplacesWhatTheSetLacksAndInvalidUtf8) {
    EXPECT_EQ(zb::Utf8ToCp1252("a\u4E2Db\U0001F600c"), "a?b?c");
    EXPECT_FALSE(zb::IsCp1252Representable("\u4E2D"));
    // Truncated, overlong, stray continuation and surrogate sequences.
    EXPECT_EQ(zb::Utf8ToCp1252("x\xC3"), "x?");
    EXPECT_EQ(zb::Utf8ToCp1252("\xC0\xAF"), "??");
    EXPECT_EQ(zb::Utf8ToCp1252("\x80z"), "?z");
    EXPECT_EQ(zb::Utf8ToCp1252("\xED\xA0\x80"), "???");
    EXPECT_EQ(zb::Utf8ToCp1252("\xF4\x90\x80\x80"), "????");
    EXPECT_FALSE(zb::IsCp1252Representable("ok\xFF"));
    EXPECT_EQ(zb::Utf8ToCp1252("\xE2\x82", '_'), "__");
}
