#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/CaseFold.h"

using namespace zb;

TEST(CaseFold, FoldsLikeUnicodeFullCaseFolding) {
    const struct {
        std::string in;
        std::u32string out;
    } cases[] = {
        {"Zebra.PNG", U"zebra.png"},
        {"\xC3\x84pfel", U"\u00E4pfel"},          // Ä
        {"Stra\xC3\x9F" "e", U"strasse"},          // ß folds to ss
        {"\xE1\xBA\x9E", U"ss"},                   // capital sharp s
        {"\xCE\xA9mega", U"\u03C9mega"},           // Greek capital omega
        {"\xD0\x96", U"\u0436"},                   // Cyrillic Zhe
        {"\xC7\x85", U"\u01C6"},                   // title-case dz with caron
        {"t\xFC.png", U"t\uFFFD.png"},             // Latin-1 byte: not UTF-8
        {"\xE2\x82", U"\uFFFD\uFFFD"},             // cut sequence
        {"\xC0\xAF", U"\uFFFD\uFFFD"},             // overlong slash
        {"", U""},
    };
    for (const auto& c : cases) EXPECT_EQ(CaseFolded(c.in), c.out) << c.in;
}

TEST(CaseFold, NamesSortAsAFileManagerShowsThem) {
    std::vector<std::string> names = {"Zebra.png", "apfel.bmp", "Birne.jpg", "\xC3\x84hre.png", "a.png", "A.png",
                                      "STRASSE.png", "Stra\xC3\x9F" "e.png", "10.png", "2.png"};
    std::sort(names.begin(), names.end(), CaseInsensitiveLess);
    // Names equal but for case keep a fixed order: bytewise (capitals first).
    const std::vector<std::string> expected = {"10.png", "2.png", "A.png", "a.png", "apfel.bmp", "Birne.jpg",
                                               "STRASSE.png", "Stra\xC3\x9F" "e.png", "Zebra.png",
                                               "\xC3\x84hre.png"};
    EXPECT_EQ(names, expected);
    // A strict order: irreflexive, and different names are never equal.
    for (const std::string& a : names) {
        EXPECT_FALSE(CaseInsensitiveLess(a, a)) << a;
        for (const std::string& b : names)
            if (a != b) {
                EXPECT_NE(CaseInsensitiveLess(a, b), CaseInsensitiveLess(b, a)) << a << " / " << b;
            }
    }
}
