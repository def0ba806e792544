// "Grafik anzeigen..." of the texture page opens the picture viewer on the
// texture page's picture, sharing its rows.
#include <QApplication>
#include <QSpinBox>
#include <QTimer>

#include "MainFormFixture.h"
#include "app/PictureViewerLink.h"
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
