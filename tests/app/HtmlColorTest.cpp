#include "app/HtmlColor.h"

#include <gtest/gtest.h>

using namespace zb;

TEST(HtmlColor, ReadsTheCharactersAtTheirPositions) {
    struct Case {
        const char* text;
        std::optional<uint32_t> color;
    } cases[] = {
        {"#FF0000", ColorRef(255, 0, 0)},
        {"#ff8000", ColorRef(255, 128, 0)},
        {"#123456", ColorRef(0x12, 0x34, 0x56)},
        {"#000000", 0u},
        {"#FFFFFF", ColorRef(255, 255, 255)},
        // The empty text reads as black.
        {"", 0u},
        // The first character is skipped whatever it is.
        {"X00FF00", ColorRef(0, 255, 0)},
        {"FF0000", ColorRef(0xF0, 0x00, 0x00)},
        // Short texts give short parts, joined blue + green + red.
        {"#", 0u},
        {"#1", 0x01u},
        {"#12", 0x12u},
        {"#1234", 0x3412u},
        {"#12345", 0x053412u},
        // Characters past the seventh are never read.
        {"#123456ZZ", ColorRef(0x12, 0x34, 0x56)},
        // A character that is not a hexadecimal digit fails the whole text.
        {"#GG0000", std::nullopt},
        {"#12 456", std::nullopt},
        {"#-12345", std::nullopt},
        {"#+12345", std::nullopt},
        {"#12345ä", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseHtmlColor(QString::fromUtf8(c.text)), c.color);
    }
}

TEST(HtmlColor, FormatsUpperCaseRedGreenBlue) {
    EXPECT_EQ(FormatHtmlColor(ColorRef(255, 0, 0)), "#FF0000");
    EXPECT_EQ(FormatHtmlColor(ColorRef(18, 52, 86)), "#123456");
    EXPECT_EQ(FormatHtmlColor(ColorRef(0xAB, 0xCD, 0xEF)), "#ABCDEF");
    EXPECT_EQ(FormatHtmlColor(0), "#000000");
    EXPECT_EQ(FormatHtmlColor(0x7F000000u | ColorRef(1, 2, 3)), "#010203");
}

TEST(HtmlColor, MatchTakesTheLastOfAllButTheCustomEntry) {
    EXPECT_EQ(MatchColorIndex(ColorRef(255, 0, 0)), 9);
    EXPECT_EQ(MatchColorIndex(ColorRef(255, 255, 255)), 15);
    EXPECT_EQ(MatchColorIndex(0), 0);
    EXPECT_EQ(MatchColorIndex(ColorRef(192, 192, 192)), 8);
    EXPECT_EQ(MatchColorIndex(ColorRef(18, 52, 86)), -1);
    // Items that hold the same colour twice: the later one wins.
    const uint32_t colors[] = {5, 7, 5, 9, 5};
    EXPECT_EQ(MatchColorIndex(5, colors, 5), 2);
    EXPECT_EQ(MatchColorIndex(9, colors, 5), 3);
    EXPECT_EQ(MatchColorIndex(5, colors, 1), -1);
    EXPECT_EQ(MatchColorIndex(5, colors, 0), -1);
}

TEST(HtmlColor, NamesInThreeLanguages) {
    struct Case {
        int index;
        TCLanguage language;
        const char* name;
    } cases[] = {
        {0, lgEnglish, "Black"},        {0, lgDeutsch, "Schwarz"},   {0, lgFrensh, "Noir"},
        {1, lgFrensh, "Rouge foncé"},   {2, lgDeutsch, "Grün"},      {13, lgDeutsch, "Rosa"},
        {14, lgFrensh, "Vert d'eau"},   {15, lgDeutsch, "Weiß"},     {16, lgEnglish, "More..."},
        {16, lgDeutsch, "Mehr..."},     {16, lgFrensh, "Autres...."}, {9, static_cast<TCLanguage>(7), "Red"},
        {17, lgEnglish, ""},            {-1, lgDeutsch, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ColorName(c.index, c.language), QString::fromUtf8(c.name));
    }
    EXPECT_EQ(kColorTable[3].Color, ColorRef(128, 128, 0));
    EXPECT_EQ(kColorTable[12].Color, ColorRef(0, 0, 255));
}
