#include "app/TImageBtn.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>

using namespace zb;

namespace {

QPixmap Filled(QColor color, QSize size = QSize(101, 30)) {
    QPixmap pixmap(size);
    pixmap.fill(color);
    return pixmap;
}

// Sends a mouse event at (x, y) in button coordinates; `buttons` are those
// held after the event.
void Mouse(TImageBtn& btn, QEvent::Type type, int x, int y, Qt::MouseButton button, Qt::MouseButtons buttons) {
    const QPointF local(x, y);
    QMouseEvent event(type, local, btn.mapToGlobal(local), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(&btn, &event);
}

void Key(TImageBtn& btn, QEvent::Type type, int key) {
    QKeyEvent event(type, key, Qt::NoModifier);
    QCoreApplication::sendEvent(&btn, &event);
}

// Colour of the middle of what the button shows now.
QRgb Shown(TImageBtn& btn) {
    return btn.grab().toImage().pixel(btn.width() / 2, btn.height() / 2);
}

struct Fixture : testing::Test {
    Fixture() {
        btn.SetPicture(Filled(Qt::green));
        btn.SetPicture2(Filled(Qt::red));
        QObject::connect(&btn, &TImageBtn::clicked, [this] {
            ++clicks;
            pressedAtClick = btn.PressedShown();
        });
        btn.show();
    }
    TImageBtn btn;
    int clicks = 0;
    bool pressedAtClick = true;
};

using TImageBtnTest = Fixture;

} // namespace

TEST_F(TImageBtnTest, TakesThePicturesSizeAndTheHandCursor) {
    EXPECT_EQ(btn.size(), QSize(101, 30));
    EXPECT_EQ(btn.cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(btn.focusPolicy(), Qt::StrongFocus);
    QPixmap sharp = Filled(Qt::blue, QSize(164, 70));
    sharp.setDevicePixelRatio(2.0);
    btn.SetPicture(sharp);
    EXPECT_EQ(btn.size(), QSize(82, 35));
}

TEST_F(TImageBtnTest, LeftClickShowsNormalBeforeClicked) {
    Mouse(btn, QEvent::MouseButtonPress, 10, 10, Qt::LeftButton, Qt::LeftButton);
    EXPECT_TRUE(btn.PressedShown());
    EXPECT_EQ(Shown(btn), QColor(Qt::red).rgb());
    Mouse(btn, QEvent::MouseButtonRelease, 10, 10, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(pressedAtClick);
    EXPECT_FALSE(btn.PressedShown());
    EXPECT_EQ(Shown(btn), QColor(Qt::green).rgb());
}

TEST_F(TImageBtnTest, DraggingOffAndBack) {
    struct Step {
        QEvent::Type type;
        int x, y;
        bool pressed;
    } steps[] = {
        {QEvent::MouseButtonPress, 50, 15, true},
        {QEvent::MouseMove, 101, 15, false}, // x = width is outside
        {QEvent::MouseMove, 100, 29, true},  // last pixel is inside
        {QEvent::MouseMove, 50, -1, false},
        {QEvent::MouseMove, 50, 30, false},
        {QEvent::MouseMove, 0, 0, true},
        {QEvent::MouseMove, -1, 0, false},
        {QEvent::MouseButtonRelease, -1, 0, false},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(testing::Message() << s.x << "," << s.y);
        const bool release = s.type == QEvent::MouseButtonRelease;
        Mouse(btn, s.type, s.x, s.y, s.type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
              release ? Qt::NoButton : Qt::LeftButton);
        EXPECT_EQ(btn.PressedShown(), s.pressed);
    }
    // Released off the button: no click.
    EXPECT_EQ(clicks, 0);
    // Moving without a held button changes nothing.
    Mouse(btn, QEvent::MouseMove, 50, 15, Qt::NoButton, Qt::NoButton);
    EXPECT_FALSE(btn.PressedShown());
}

TEST_F(TImageBtnTest, OtherButtonsSwapThePicturesButNeverClick) {
    for (Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
        Mouse(btn, QEvent::MouseButtonPress, 10, 10, button, button);
        EXPECT_TRUE(btn.PressedShown());
        Mouse(btn, QEvent::MouseMove, 200, 10, Qt::NoButton, button);
        EXPECT_FALSE(btn.PressedShown());
        Mouse(btn, QEvent::MouseMove, 20, 10, Qt::NoButton, button);
        EXPECT_TRUE(btn.PressedShown());
        Mouse(btn, QEvent::MouseButtonRelease, 10, 10, button, Qt::NoButton);
        EXPECT_FALSE(btn.PressedShown());
    }
    EXPECT_EQ(clicks, 0);
}

TEST_F(TImageBtnTest, EmptyPressedPictureShowsNothingWhileHeld) {
    btn.SetPicture2(QPixmap());
    Mouse(btn, QEvent::MouseButtonPress, 10, 10, Qt::LeftButton, Qt::LeftButton);
    EXPECT_TRUE(btn.PressedShown());
    EXPECT_NE(Shown(btn), QColor(Qt::green).rgb());
    Mouse(btn, QEvent::MouseButtonRelease, 10, 10, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(Shown(btn), QColor(Qt::green).rgb());
}

TEST_F(TImageBtnTest, KeyboardClicks) {
    Key(btn, QEvent::KeyPress, Qt::Key_Space);
    EXPECT_TRUE(btn.PressedShown());
    Key(btn, QEvent::KeyRelease, Qt::Key_Space);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(pressedAtClick);
    Key(btn, QEvent::KeyPress, Qt::Key_Return);
    Key(btn, QEvent::KeyRelease, Qt::Key_Return);
    Key(btn, QEvent::KeyPress, Qt::Key_Enter);
    EXPECT_EQ(clicks, 3);
    EXPECT_FALSE(btn.PressedShown());
}

TEST_F(TImageBtnTest, AccessibleAsAButtonNamedByItsHint) {
    btn.setToolTip(QStringLiteral("Hiermit verlassen Sie das Programm"));
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(&btn);
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(face->role(), QAccessible::Button);
    EXPECT_EQ(face->text(QAccessible::Name), "Hiermit verlassen Sie das Programm");
    // A name given on purpose stays.
    btn.setAccessibleName(QStringLiteral("Beenden"));
    btn.setToolTip(QStringLiteral("anders"));
    EXPECT_EQ(btn.accessibleName(), "Beenden");
}
