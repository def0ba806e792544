// The window's commands as a user gives them: keys wherever the focus is, the
// menu's actions, the clipboard, the command line.
#include "MainFormFixture.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QMimeData>
#include <QSlider>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <cstring>
#include <functional>

#include "app/MainActions.h"
#include "app/TSpinEdit.h"

using namespace zb;
using zbtest::MainFormTest;

namespace {

void Settle(int ms = 50) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

} // namespace

// Ctrl+Z, Ctrl+Shift+Z and Ctrl+Y undo and redo the design whatever has the
// focus; what a field shows of a typed value is the step undone first.
TEST_F(MainFormTest, UndoAndRedoKeysReachTheDesignFromEveryFocus) {
    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier, ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
    const struct {
        const char* focus;
        const char* typed; // typed into the focused field first, or null
        bool undoFirst;    // the new layer is undone with the button before the key
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        uint32_t layers;   // after the key
        double width;      // the top layer's picture width after the key
    } cases[] = {
        {"ZoomEd", "60", false, Qt::Key_Z, ctrl, 1, 75},     // the zoom is no step: the new layer goes
        {"PicBreitEd", "120", false, Qt::Key_Z, ctrl, 2, 75}, // the typed width is the step undone
        {"ListView1", nullptr, false, Qt::Key_Z, ctrl, 1, 75},
        {"TextEd", nullptr, false, Qt::Key_Z, ctrl, 1, 75},
        {"PicBreitEd", nullptr, true, Qt::Key_Z, ctrlShift, 2, 75},
        {"ZoomEd", nullptr, true, Qt::Key_Y, ctrl, 2, 75},
        {"TextEd", nullptr, true, Qt::Key_Y, ctrl, 2, 75},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.focus) + (c.typed ? " typed, " : ", ") +
                     QKeySequence(c.key | c.modifiers).toString().toStdString());
        Make({});
        Show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        Click("NewPlaneBtn");
        if (c.undoFirst) Click("UndoBtn");
        auto* field = Find<QWidget>(c.focus);
        // The text field sits on the page of text layers: shown without writing the layer.
        if (std::strcmp(c.focus, "TextEd") == 0) {
            auto* pages = Find<QTabWidget>("PageControl1");
            const QSignalBlocker quiet(pages);
            pages->setCurrentIndex(int(kKindText));
        }
        field->setFocus();
        Settle();
        if (c.typed) {
            static_cast<TSpinEdit*>(field)->selectAll();
            QTest::keyClicks(field, QString::fromLatin1(c.typed));
        }
        QTest::keyClick(QApplication::focusWidget(), c.key, c.modifiers);
        EXPECT_EQ(D().Layers.size(), c.layers);
        EXPECT_EQ(D().Layers[D().Layers.size() - 1].PictureWidthMM, c.width);
    }
}

// The view's commands and the window's size show the same sheet at another
// size; "Neu würfeln" starts a new one.
TEST_F(MainFormTest, TheViewNeverChangesTheSheet) {
    Show();
    // A pattern layer draws random numbers; a texture layer draws none.
    Find<QTabWidget>("PageControl1")->setCurrentIndex(int(kKindPattern));
    WaitForTimer();
    const DesignWorkspace& w = form->Workspace();
    MainActions& a = form->Actions();
    const uint32_t first = w.Seed().Number();
    const struct {
        const char* what;
        std::function<void()> change;
        bool keeps, composes;
    } cases[] = {
        {"Zoom: 60", [&] { Find<TSpinEdit>("ZoomEd")->SetValue(60); }, true, true},
        {"Vergrößern", [&] { a.ZoomIn->trigger(); }, true, true},
        {"100 %", [&] { a.ActualSize->trigger(); }, true, true},
        {"Ganze Seite", [&] { a.WholePage->trigger(); }, true, true},
        {"Fenstergröße", [&] { form->resize(form->width() - 120, form->height() - 80); }, true, false},
        {"Neu würfeln", [&] { a.Reroll->trigger(); }, false, true},
    };
    uint32_t sheet = first;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const int composed = w.CompositionCount();
        c.change();
        Settle();
        form->PaintDesign();
        ASSERT_FALSE(w.Stale());
        EXPECT_EQ(w.Seed().Number() == sheet, c.keeps);
        EXPECT_EQ(w.Sheet().StartSeed(), w.Seed().Number());
        EXPECT_EQ(w.CompositionCount() > composed, c.composes);
        sheet = w.Seed().Number();
    }
    EXPECT_EQ(w.Zoom(), Find<TSpinEdit>("ZoomEd")->Value());
}

// "Einfügen" puts the clipboard's picture into the selected texture layer,
// or into a new texture layer on top of any other kind; one undo step.
TEST_F(MainFormTest, PastingAPictureGoesIntoATextureLayer) {
    QImage picture(9, 4, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    for (const uint32_t kind : {kKindGradient, kKindPattern, kKindTexture, kKindFilter, kKindText}) {
        SCOPED_TRACE(kind);
        Make({});
        Click("NewPlaneBtn");
        Find<QTabWidget>("PageControl1")->setCurrentIndex(int(kind));
        WaitForTimer();
        const uint32_t layers = D().Layers.size();
        const int width = DibWidth(D().Layers[layers - 1].LayerPicture);
        QGuiApplication::clipboard()->setImage(picture);
        form->Actions().Paste->trigger();

        const bool into = kind == kKindTexture;
        ASSERT_EQ(D().Layers.size(), layers + (into ? 0 : 1));
        const TLayerRecord& top = D().Layers[D().Layers.size() - 1];
        EXPECT_EQ(top.Kind, uint32_t(kKindTexture));
        EXPECT_EQ(DibWidth(top.LayerPicture), 9);
        EXPECT_EQ(DibHeight(top.LayerPicture), 4);
        EXPECT_EQ(form->Workspace().CurrentIndex(), int(D().Layers.size()) - 1);
        Click("UndoBtn");
        EXPECT_EQ(D().Layers.size(), layers);
        EXPECT_EQ(D().Layers[layers - 1].Kind, kind);
        EXPECT_EQ(DibWidth(D().Layers[layers - 1].LayerPicture), width);
    }
    // A clipboard without a picture: a note, nothing changed, no message box.
    QGuiApplication::clipboard()->setText(QStringLiteral("nur Text"));
    const uint32_t layers = D().Layers.size();
    form->Actions().Paste->trigger();
    EXPECT_EQ(D().Layers.size(), layers);
    EXPECT_FALSE(form->statusBar()->currentMessage().isEmpty());
    EXPECT_EQ(dialogs.Count("error"), 0);
}

// The bottom layer is always opaque: its transparency cannot be moved,
// whichever way the selected layer got to the bottom or left it.
TEST_F(MainFormTest, TheBottomLayersTransparencyIsDisabled) {
    Click("NewPlaneBtn");
    auto* slider = Find<QSlider>("TrackBar1");
    const struct {
        const char* step;
        std::function<void()> run;
        bool bottom;
    } steps[] = {
        {"select the bottom", [&] { SelectRow(0); }, true},
        {"select the top", [&] { SelectRow(1); }, false},
        {"move it down", [&] { Click("MoveUpBtn"); }, true},
        {"move it up", [&] { Click("MoveDownBtn"); }, false},
    };
    for (const auto& s : steps) {
        s.run();
        EXPECT_EQ(slider->isEnabled(), !s.bottom) << s.step;
        EXPECT_EQ(slider->toolTip().isEmpty(), !s.bottom) << s.step;
    }
}

// Designs named after the first are not dropped without a word.
TEST_F(MainFormTest, DesignsBeyondTheFirstOnTheCommandLineAreNamed) {
    const QString a = dir.filePath("a.zbg");
    dialogs.fileNames = {a};
    Click("SaveAsBtn");
    Make({a, dir.filePath("b.zbg"), dir.filePath("c.zbg")});
    Show();
    EXPECT_TRUE(Title().endsWith(QStringLiteral("[a.zbg]")));
    ASSERT_EQ(dialogs.Count("error"), 1);
    EXPECT_TRUE(dialogs.LastText("error").contains(QStringLiteral("b.zbg, c.zbg")));
}

// Two commands on one key would leave that key doing nothing.
TEST_F(MainFormTest, NoTwoCommandsShareAKey) {
    QMap<QKeySequence, QString> owner;
    for (QAction* action : form->findChildren<QAction*>()) {
        for (const QKeySequence& keys : action->shortcuts()) {
            EXPECT_FALSE(owner.contains(keys)) << keys.toString().toStdString() << ": "
                                               << owner.value(keys).toStdString() << ", "
                                               << action->objectName().toStdString();
            owner.insert(keys, action->objectName());
        }
    }
    EXPECT_GE(owner.size(), 18);
}
