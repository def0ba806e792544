#include "app/TSpinEdit.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

using namespace zb;

namespace {

void Key(QWidget& widget, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &release);
}

void LoseFocus(QWidget& widget, Qt::FocusReason reason = Qt::TabFocusReason) {
    QFocusEvent out(QEvent::FocusOut, reason);
    QCoreApplication::sendEvent(&widget, &out);
}

} // namespace

TEST(TSpinEdit, ShowsValuesWithTheFieldsDecimalsAndTheGermanSeparator) {
    struct Case {
        SpinField field;
        double value;
        const char* text;
    } cases[] = {
        {kBreitEd, 17.5, "17,50"}, {kHochEd, 28, "28,00"},       {kBreitVEd, 5, "5,00"},
        {kHochVEd, 8, "8,00"},     {kDezVEd, 0.625, "0,6250"},  {kZoomEd, 30, "30"},
        {kHochEd, 112, "100,00"},  {kZoomEd, 5, "10"},          {kMSizeEd, 30, "30,0"},
        {kAnzMEd, 100, "100"},     {kPicBreitEd, 75.04, "75,0"}, {kFSizeEd, 12.7, "13"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        TSpinEdit edit(c.field, 1);
        edit.SetValue(c.value);
        EXPECT_EQ(edit.Text(), c.text);
        EXPECT_DOUBLE_EQ(edit.Value(), c.field.Limit(c.value));
    }
}

TEST(TSpinEdit, FollowsTheWidgetsLocale) {
    TSpinEdit edit(kBreitEd, 0.1);
    edit.SetValue(17.5);
    edit.setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(edit.Text(), "17.50");
    EXPECT_DOUBLE_EQ(edit.Value(), 17.5);
    edit.setLocale(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(edit.Text(), "17,50");
}

TEST(TSpinEdit, TypedTextIsReadUnchangedUntilTheFocusLeaves) {
    TSpinEdit edit(kBreitEd, 0.1);
    edit.SetValue(17.5);
    int changes = 0;
    QObject::connect(&edit, &TSpinEdit::Change, [&] { ++changes; });
    std::vector<double> seen;
    QObject::connect(&edit, &TSpinEdit::Change, [&] { seen.push_back(edit.Value()); });

    // Every keystroke is a change, read as typed: 2, then 20, then 250.
    edit.SetText("");
    edit.SetText("2");
    edit.SetText("20");
    edit.SetText("250");
    EXPECT_EQ(seen, (std::vector<double>{1.0, 2.0, 20.0, 250.0}));
    EXPECT_EQ(edit.Text(), "250");

    LoseFocus(edit);
    EXPECT_EQ(edit.Text(), "100,00");
    EXPECT_DOUBLE_EQ(edit.Value(), 100.0);
    EXPECT_EQ(changes, 5);

    // The empty field becomes its minimum when the focus leaves.
    edit.SetText("");
    LoseFocus(edit);
    EXPECT_EQ(edit.Text(), "1,00");

    // Enter writes the limited text as well.
    edit.SetText("0");
    Key(edit, Qt::Key_Return);
    EXPECT_EQ(edit.Text(), "1,00");

    // Moving on to another control leaves the field; a box or another window
    // taking the focus does not.
    const struct {
        Qt::FocusReason reason;
        const char* text;
    } leaves[] = {
        {Qt::TabFocusReason, "1,00"},          {Qt::BacktabFocusReason, "1,00"},
        {Qt::MouseFocusReason, "1,00"},        {Qt::ShortcutFocusReason, "1,00"},
        {Qt::OtherFocusReason, "1,00"},        {Qt::ActiveWindowFocusReason, "0"},
        {Qt::PopupFocusReason, "0"},
    };
    for (const auto& leave : leaves) {
        SCOPED_TRACE(leave.reason);
        edit.SetText("0");
        LoseFocus(edit, leave.reason);
        EXPECT_EQ(edit.Text(), leave.text);
    }
}

// Typing 0,5 into a field whose change opens an error box at the 0 (as the
// ratio's division by zero does): the box closes, the text stays as typed and
// the keystrokes after it go on from there.
TEST(TSpinEdit, AnErrorBoxWhileTypingKeepsTheTypedText) {
    QWidget window;
    auto* edit = new TSpinEdit(kDezVEd, 0.001, &window);
    edit->SetValue(0.625);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    edit->setFocus();
    int boxes = 0;
    QObject::connect(edit, &TSpinEdit::Change, [&] {
        if (edit->Text() != "0") return;
        ++boxes;
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Zierbogen-Drucker"),
                        QStringLiteral("Floating point division by zero."), QMessageBox::Ok, &window);
        QTimer::singleShot(50, &box, &QMessageBox::accept);
        box.exec();
    });
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, QStringLiteral("0,5"));
    EXPECT_EQ(boxes, 1);
    EXPECT_EQ(edit->Text(), "0,5");
}

TEST(TSpinEdit, SetValueRaisesChangeOnlyWhenTheTextChanges) {
    TSpinEdit edit(kZoomEd, 10);
    int changes = 0;
    QObject::connect(&edit, &TSpinEdit::Change, [&] { ++changes; });
    edit.SetValue(30);
    EXPECT_EQ(changes, 1);
    edit.SetValue(30.2);
    EXPECT_EQ(changes, 1);
    edit.SetValue(40);
    EXPECT_EQ(changes, 2);
}

TEST(TSpinEdit, ArrowKeysStepWithinTheRange) {
    TSpinEdit zoom(kZoomEd, 10);
    zoom.SetValue(30);
    Key(zoom, Qt::Key_Up);
    EXPECT_EQ(zoom.Text(), "40");
    Key(zoom, Qt::Key_Down);
    Key(zoom, Qt::Key_Down);
    EXPECT_EQ(zoom.Text(), "20");
    zoom.SetValue(295);
    Key(zoom, Qt::Key_Up);
    EXPECT_EQ(zoom.Text(), "300");
    Key(zoom, Qt::Key_Up);
    EXPECT_EQ(zoom.Text(), "300");

    TSpinEdit width(kBreitEd, 0.1);
    width.SetValue(17.5);
    width.stepBy(1);
    EXPECT_EQ(width.Text(), "17,60");
    width.SetValue(1.05);
    width.stepBy(-1);
    EXPECT_EQ(width.Text(), "1,00");
    // A text that is not a number steps from the minimum.
    width.SetText("");
    width.stepBy(3);
    EXPECT_EQ(width.Text(), "1,30");
}

TEST(TSpinEdit, RefusesKeystrokesThatCannotBeANumber) {
    struct Case {
        SpinField field;
        QString text;
        QValidator::State state;
    } cases[] = {
        {kBreitEd, "17,5", QValidator::Acceptable},   {kBreitEd, "", QValidator::Intermediate},
        {kBreitEd, ",", QValidator::Intermediate},    {kBreitEd, "-", QValidator::Intermediate},
        {kBreitEd, "1,2,", QValidator::Intermediate}, {kBreitEd, "12a", QValidator::Invalid},
        {kBreitEd, "1.5", QValidator::Acceptable},    {kZoomEd, "30", QValidator::Acceptable},
        {kZoomEd, "3.5", QValidator::Invalid},        {kBreitEd, "1.5,", QValidator::Intermediate},
        {kZoomEd, "3,5", QValidator::Invalid},        {kAnzMEd, "１２", QValidator::Invalid},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        TSpinEdit edit(c.field, 1);
        QString text = c.text;
        int pos = 0;
        EXPECT_EQ(edit.validate(text, pos), c.state);
    }
}

TEST(TSpinEdit, IsWideEnoughForItsWholeRange) {
    TSpinEdit edit(kDezVEd, 0.001);
    edit.SetValue(1000000);
    const int textWidth = edit.fontMetrics().horizontalAdvance(edit.Text());
    EXPECT_GT(edit.sizeHint().width(), textWidth);
    EXPECT_EQ(edit.minimumSizeHint(), edit.sizeHint());
}

TEST(TSpinEdit, TypingGoesThroughTheKeyboard) {
    TSpinEdit edit(kBreitEd, 0.1);
    edit.SetValue(17.5);
    std::vector<QString> texts;
    QObject::connect(&edit, &TSpinEdit::Change, [&] { texts.push_back(edit.Text()); });
    edit.show();
    edit.setFocus();
    Key(edit, Qt::Key_End);
    Key(edit, Qt::Key_Backspace);
    // A letter is refused; the German separator is taken.
    for (const char* typed : {"x", "5"}) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromLatin1(typed));
        QCoreApplication::sendEvent(&edit, &press);
    }
    EXPECT_EQ(texts, (std::vector<QString>{"17,5", "17,55"}));
    EXPECT_DOUBLE_EQ(edit.Value(), 17.55);
}

TEST(TSpinEdit, AccessibleAsASpinBoxNamedByItsLabel) {
    QWidget page;
    auto* label = new QLabel(QStringLiteral("&Breite:"), &page);
    auto* edit = new TSpinEdit(kBreitEd, 0.1, &page);
    label->setBuddy(edit);
    edit->SetValue(17.5);
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(edit);
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(face->role(), QAccessible::SpinBox);
    EXPECT_EQ(face->text(QAccessible::Name), "Breite:");
    EXPECT_EQ(face->text(QAccessible::Value), "17,50");

    // The value as a number, its range and step; setting it is an edit.
    QAccessibleValueInterface* value = face->valueInterface();
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->currentValue().toDouble(), 17.5);
    EXPECT_EQ(value->minimumValue().toDouble(), 1.0);
    EXPECT_EQ(value->maximumValue().toDouble(), 100.0);
    EXPECT_EQ(value->minimumStepSize().toDouble(), 0.1);
    int changes = 0;
    QObject::connect(edit, &TSpinEdit::Change, [&] { ++changes; });
    value->setCurrentValue(20.456);
    EXPECT_EQ(edit->Text(), "20,46");
    EXPECT_EQ(changes, 1);
}

// The text as shown, and edits of assistive tools that go through the
// field's rules as typing does: refused where a keystroke would be, read
// unlimited until the field is left.
TEST(TSpinEdit, AccessibleTextIsShownAndEditedAsTyped) {
    TSpinEdit edit(kBreitEd, 0.1);
    edit.SetValue(28);
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(&edit);
    ASSERT_NE(face, nullptr);
    QAccessibleTextInterface* text = face->textInterface();
    QAccessibleEditableTextInterface* editable = face->editableTextInterface();
    ASSERT_NE(text, nullptr);
    ASSERT_NE(editable, nullptr);
    EXPECT_EQ(text->characterCount(), 5);
    EXPECT_EQ(text->text(0, 5), "28,00");
    EXPECT_EQ(text->text(3, 5), "00");

    enum Op { Insert, Delete, Replace };
    const struct {
        Op op;
        int start, end;
        const char* with;
        const char* expected;
        int cursor;
    } edits[] = {
        {Insert, 0, 0, "1", "128,00", 1},    // beyond the range: stands while typing
        {Insert, 2, 2, "x", "28,00", -1},    // no letter in a number
        {Delete, 2, 5, "", "28", 2},
        {Replace, 0, 5, "17.5", "17.5", 4},  // a point is the separator too
        {Replace, 0, 5, "", "", 0},          // empty: reads as the minimum
        {Insert, 9, 9, "5", "28,005", 6},    // an offset past the end appends
    };
    for (const auto& e : edits) {
        SCOPED_TRACE(e.expected);
        edit.SetValue(28);
        int changes = 0;
        const QMetaObject::Connection counting =
            QObject::connect(&edit, &TSpinEdit::Change, [&] { ++changes; });
        if (e.op == Insert) editable->insertText(e.start, QString::fromUtf8(e.with));
        if (e.op == Delete) editable->deleteText(e.start, e.end);
        if (e.op == Replace) editable->replaceText(e.start, e.end, QString::fromUtf8(e.with));
        QObject::disconnect(counting);
        EXPECT_EQ(edit.Text(), QString::fromUtf8(e.expected));
        EXPECT_EQ(changes, e.cursor < 0 ? 0 : 1);
        if (e.cursor >= 0) {
            EXPECT_EQ(text->cursorPosition(), e.cursor);
        }
    }
}
