#include "app/TPaloColorComboBox.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QWheelEvent>

using namespace zb;

namespace {

// The user picks `index` from the list: what the popup reports.
void Choose(TPaloColorComboBox& box, int index) {
    box.setCurrentIndex(index);
    emit box.activated(index);
}

} // namespace

TEST(TPaloColorComboBox, StartsBlackWithSeventeenEnglishEntries) {
    TPaloColorComboBox box;
    EXPECT_EQ(box.count(), 17);
    EXPECT_EQ(box.currentIndex(), 0);
    EXPECT_EQ(box.ColorValue(), 0u);
    EXPECT_EQ(box.HTMLcolor(), "#000000");
    EXPECT_EQ(box.Language(), lgEnglish);
    EXPECT_EQ(box.itemText(16), "More...");
    EXPECT_FALSE(box.accessibleDescription().isEmpty());
    EXPECT_GE(box.sizeHint().width(), 120);
}

TEST(TPaloColorComboBox, SettersFollowTheRulesAndRaiseNoChange) {
    struct Case {
        const char* what;
        std::optional<uint32_t> colorValue; // set ColorValue, or else
        QString html;                       // set HTMLcolor
        uint32_t color;
        int index;
        QString shownHtml;
    } cases[] = {
        {"red selects item 9", ColorRef(255, 0, 0), {}, ColorRef(255, 0, 0), 9, "#FF0000"},
        {"outside the table", ColorRef(18, 52, 86), {}, ColorRef(18, 52, 86), 16, "#123456"},
        {"white is 15", ColorRef(255, 255, 255), {}, ColorRef(255, 255, 255), 15, "#FFFFFF"},
        {"lower case html", std::nullopt, "#ff8000", ColorRef(255, 128, 0), 16, "#FF8000"},
        {"html without #", std::nullopt, "FF0000", ColorRef(240, 0, 0), 16, "FF0000"},
        {"empty html", std::nullopt, "", 0, 0, "#000000"},
        {"html of a table colour", std::nullopt, "#00ff00", ColorRef(0, 255, 0), 10, "#00FF00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TPaloColorComboBox box;
        box.SetColorValue(ColorRef(1, 2, 3)); // start off black so the empty text shows its effect
        int changes = 0;
    QObject::connect(&box, &TPaloColorComboBox::Change, [&] { ++changes; });
        if (c.colorValue) {
            box.SetColorValue(*c.colorValue);
        } else {
            box.SetHTMLcolor(c.html);
        }
        EXPECT_EQ(box.ColorValue(), c.color);
        EXPECT_EQ(box.currentIndex(), c.index);
        EXPECT_EQ(box.HTMLcolor(), c.shownHtml);
        EXPECT_EQ(changes, 0);
        if (c.index == 16) {
            EXPECT_EQ(box.ItemColor(16), c.color);
        }
    }
}

TEST(TPaloColorComboBox, UnreadableHtmlChangesNothing) {
    TPaloColorComboBox box;
    box.SetHTMLcolor("#336699");
    box.SetHTMLcolor("#GG0000");
    EXPECT_EQ(box.ColorValue(), ColorRef(0x33, 0x66, 0x99));
    EXPECT_EQ(box.HTMLcolor(), "#336699");
    EXPECT_EQ(box.currentIndex(), 16);
}

TEST(TPaloColorComboBox, CustomEntryKeepsTheLastUnmatchedColour) {
    TPaloColorComboBox box;
    box.SetColorValue(ColorRef(18, 52, 86));
    box.SetColorValue(ColorRef(255, 0, 0));
    EXPECT_EQ(box.currentIndex(), 9);
    EXPECT_EQ(box.ItemColor(16), ColorRef(18, 52, 86));
}

TEST(TPaloColorComboBox, UserChoicesRaiseChange) {
    TPaloColorComboBox box;
    std::vector<uint32_t> dialogStarts;
    std::optional<uint32_t> answer;
    box.SetColorDialog([&](uint32_t initial) {
        dialogStarts.push_back(initial);
        return answer;
    });
    int changes = 0;
    QObject::connect(&box, &TPaloColorComboBox::Change, [&] { ++changes; });

    Choose(box, 12);
    EXPECT_EQ(box.ColorValue(), ColorRef(0, 0, 255));
    EXPECT_EQ(box.HTMLcolor(), "#0000FF");
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(dialogStarts.empty());

    // "More..." cancelled: still a change, the colour stays, item 16 stays selected.
    Choose(box, 16);
    EXPECT_EQ(changes, 2);
    ASSERT_EQ(dialogStarts.size(), 1u);
    EXPECT_EQ(dialogStarts[0], ColorRef(0, 0, 255));
    EXPECT_EQ(box.ColorValue(), ColorRef(0, 0, 255));
    EXPECT_EQ(box.currentIndex(), 16);

    // "More..." confirmed with a table colour selects that entry.
    answer = ColorRef(255, 255, 0);
    Choose(box, 16);
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(box.currentIndex(), 11);
    EXPECT_EQ(box.HTMLcolor(), "#FFFF00");

    // ... and with any other colour keeps it in the custom entry.
    answer = ColorRef(1, 2, 3);
    Choose(box, 16);
    EXPECT_EQ(changes, 4);
    EXPECT_EQ(box.currentIndex(), 16);
    EXPECT_EQ(box.ColorValue(), ColorRef(1, 2, 3));
    EXPECT_EQ(box.HTMLcolor(), "#010203");
}

TEST(TPaloColorComboBox, WheelWalksTheStandardColoursOnly) {
    TPaloColorComboBox box;
    int dialogs = 0;
    box.SetColorDialog([&](uint32_t) {
        ++dialogs;
        return std::optional<uint32_t>();
    });
    int changes = 0;
    QObject::connect(&box, &TPaloColorComboBox::Change, [&] { ++changes; });
    auto turn = [&](int delta) {
        QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(&box, &wheel);
    };
    box.SetColorValue(ColorRef(255, 255, 255));
    turn(-120);
    EXPECT_EQ(box.currentIndex(), 15);
    EXPECT_EQ(dialogs, 0);
    turn(120);
    EXPECT_EQ(box.currentIndex(), 14);
    EXPECT_EQ(box.ColorValue(), ColorRef(0, 255, 255));
    EXPECT_EQ(changes, 1);
}

TEST(TPaloColorComboBox, LanguageRenamesAndKeepsTheSelection) {
    TPaloColorComboBox box;
    box.SetColorValue(ColorRef(0, 128, 0));
    box.SetLanguage(lgDeutsch);
    EXPECT_EQ(box.currentIndex(), 2);
    EXPECT_EQ(box.currentText(), "Grün");
    EXPECT_EQ(box.itemText(16), "Mehr...");
    box.SetLanguage(lgFrensh);
    EXPECT_EQ(box.itemText(16), "Autres....");
    EXPECT_EQ(box.ColorValue(), ColorRef(0, 128, 0));
}

TEST(TPaloColorComboBox, EntryGeometry) {
    struct Case {
        QRect item;
        QRect swatch;
        QRect name;
    } cases[] = {
        // The swatch ends at the fixed x 24, wherever the item starts.
        {QRect(0, 0, 120, 18), QRect(4, 1, 20, 16), QRect(30, 0, 90, 18)},
        {QRect(3, 20, 100, 18), QRect(7, 21, 17, 16), QRect(33, 20, 70, 18)},
        {QRect(20, 0, 100, 18), QRect(), QRect(50, 0, 70, 18)},
        {QRect(0, 0, 20, 2), QRect(), QRect(30, 0, 0, 2)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ColorSwatchRect(c.item), c.swatch);
        EXPECT_EQ(ColorNameRect(c.item), c.name);
    }
}

TEST(TPaloColorComboBox, PaintsSwatchOutlineAndName) {
    QImage image(120, 18, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    {
        QPainter painter(&image);
        PaintColorEntry(painter, image.rect(), ColorRef(255, 0, 0), "Red", QBrush(Qt::white), Qt::black);
    }
    EXPECT_EQ(image.pixel(1, 1), qRgb(255, 255, 255));   // background
    EXPECT_EQ(image.pixel(4, 1), qRgb(0, 0, 0));         // outline, top-left
    EXPECT_EQ(image.pixel(23, 16), qRgb(0, 0, 0));       // outline, bottom-right
    EXPECT_EQ(image.pixel(10, 8), qRgb(255, 0, 0));      // swatch
    EXPECT_EQ(image.pixel(24, 8), qRgb(255, 255, 255));  // right of the swatch
    bool nameDrawn = false;
    for (int y = 0; y < 18; ++y) {
        for (int x = 30; x < 60; ++x) nameDrawn |= image.pixel(x, y) != qRgb(255, 255, 255);
    }
    EXPECT_TRUE(nameDrawn);
}

TEST(TPaloColorComboBox, ClosedBoxShowsTheChosenColour) {
    TPaloColorComboBox box;
    box.resize(box.sizeHint());
    box.SetColorValue(ColorRef(18, 52, 86));
    const QImage shot = box.grab().toImage();
    bool swatch = false;
    for (int y = 0; y < shot.height() && !swatch; ++y) {
        for (int x = 0; x < 30 && !swatch; ++x) swatch = shot.pixel(x, y) == qRgb(18, 52, 86);
    }
    EXPECT_TRUE(swatch);
}
