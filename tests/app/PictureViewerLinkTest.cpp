// "Grafik anzeigen..." of the texture page opens the picture viewer on the
// texture page's picture, sharing its rows.
#include <QApplication>
#include <QSpinBox>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTimer>

#include <string>
#include <vector>

#include "MainFormFixture.h"
#include "app/HelpWindow.h"
#include "app/PictureViewerLink.h"
#include "viewer/TPrintForm.h"
#include "viewer/TViewPicForm.h"

using zbtest::MainFormTest;

TEST_F(MainFormTest, ShowPicBtnShowsTheTexturePagePictureInTheViewer) {
    zb::TViewPicForm* viewer = zb::AttachPictureViewer(*form);
    ASSERT_NE(viewer, nullptr);
    EXPECT_FALSE(viewer->isVisible());
    form->show();
    const zb::TDibRecord picture = form->Workspace().EditPicture();
    ASSERT_NE(picture.Bits, nullptr);

    int shown = 0;
    auto answer = [&] {
        auto* modal = qobject_cast<zb::TViewPicForm*>(QApplication::activeModalWidget());
        ASSERT_EQ(modal, viewer);
        EXPECT_EQ(modal->windowTitle(), "Bild betrachten...");
        EXPECT_EQ(modal->Picture().Bits, picture.Bits);  // the window's rows, not a copy
        ++shown;
        if (shown == 1) modal->findChild<QSpinBox*>("ZoomEd")->setValue(300);
        else EXPECT_EQ(modal->findChild<QSpinBox*>("ZoomEd")->value(), 300);  // kept between openings
        modal->done(QDialog::Accepted);
    };
    QTimer::singleShot(0, answer);
    Click("ShowPicBtn");
    QTimer::singleShot(0, answer);
    Click("ShowPicBtn");
    EXPECT_EQ(shown, 2);
    EXPECT_FALSE(viewer->isVisible());
    EXPECT_EQ(form->Workspace().EditPicture().Bits, picture.Bits);
}

// F1 in the picture viewer and in "Bild drucken..." opens the manual at their
// sections, in a window the modal dialog does not block.
TEST_F(MainFormTest, F1InTheViewerAndThePrintDialogOpensTheirSections) {
    zb::TViewPicForm* viewer = zb::AttachPictureViewer(*form);
    form->show();
    std::vector<std::string> tops;
    const auto top = [&](QWidget* owner) {
        auto* help = owner->findChild<zb::HelpWindow*>(QStringLiteral("HelpWindow"), Qt::FindDirectChildrenOnly);
        if (!help || !help->isVisible()) return tops.push_back("");
        QCoreApplication::processEvents();
        tops.push_back(help->Browser()->cursorForPosition(QPoint(8, 8)).block().text().trimmed().toStdString());
        help->close();
    };
    viewer->ExecPrintForm = [&](zb::TPrintForm& printForm) {
        printForm.show();
        QTest::keyClick(&printForm, Qt::Key_F1);
        top(&printForm);
        return int(QDialog::Rejected);
    };
    QTimer::singleShot(0, [&] {
        auto* modal = qobject_cast<zb::TViewPicForm*>(QApplication::activeModalWidget());
        ASSERT_EQ(modal, viewer);
        QTest::keyClick(modal, Qt::Key_F1);
        top(modal);
        modal->findChild<QPushButton*>("PrintBrn")->click();
        modal->done(QDialog::Accepted);
    });
    Click("ShowPicBtn");
    EXPECT_EQ(tops, (std::vector<std::string>{"6. Der Bildbetrachter und „Bild drucken...“", "„Bild drucken...“"}));
    EXPECT_EQ(dialogs.Count("error"), 0) << dialogs.LastText("error").toStdString();
}
