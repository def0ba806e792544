// The main window for keyboard and assistive technology, and its navigation
// with wheel and mouse.
#include "MainFormFixture.h"

#include <QAccessible>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QMouseEvent>
#include <QProcess>
#include <QScrollArea>
#include <QScrollBar>
#include <QScreen>
#include <QTabWidget>
#include <QWheelEvent>

#include "app/TSpinEdit.h"
#include "model/LayerChoices.h"
#include "viewer/PaintBox.h"
#include "workspace/ViewNavigation.h"

using namespace zb;
using zbtest::MainFormTest;

namespace {

void Wheel(QWidget* target, int delta, Qt::KeyboardModifiers modifiers = Qt::NoModifier, QPointF at = {5, 5}) {
    QWheelEvent event(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, modifiers,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
}

// `held`: the buttons down during and after the event.
void Mouse(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(at), target->mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

} // namespace

TEST_F(MainFormTest, EveryFocusableControlHasAName) {
    form->show();
    QStringList unnamed;
    int checked = 0;
    for (QWidget* w : form->findChildren<QWidget*>()) {
        if (w->focusPolicy() == Qt::NoFocus || !w->isEnabled() || w->window() != form.get()) continue;
        // The inner editors of spin and combo boxes are part of their box.
        if (qobject_cast<QAbstractSpinBox*>(w->parentWidget()) || qobject_cast<QComboBox*>(w->parentWidget()))
            continue;
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
        ASSERT_NE(a, nullptr);
        ++checked;
        // On Linux a combo box reads its current entry as its name and is
        // named by the relation to its label; one without a label carries an
        // accessible name of its own.
        bool named = !a->text(QAccessible::Name).trimmed().isEmpty();
        if (qobject_cast<QComboBox*>(w))
            named = !w->accessibleName().isEmpty() || !a->relations(QAccessible::Label).isEmpty();
        if (!named)
            unnamed << QStringLiteral("%1 (%2)").arg(w->objectName(), QString::fromLatin1(w->metaObject()->className()));
    }
    EXPECT_GT(checked, 40);
    EXPECT_TRUE(unnamed.isEmpty()) << unnamed.join(", ").toStdString();

    auto name = [](QWidget* w) { return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name); };
    EXPECT_EQ(name(Find<QWidget>("ListView1")), QStringLiteral("Ebenenliste"));
    EXPECT_EQ(Find<QWidget>("MusterCol")->accessibleName(), QStringLiteral("Musterfarbe"));
    EXPECT_EQ(Find<QWidget>("FColor")->accessibleName(), QStringLiteral("Textfarbe"));
    EXPECT_EQ(name(Find<QWidget>("endebtn")), QStringLiteral("Hiermit verlassen Sie das Programm"));
    EXPECT_TRUE(name(Find<QWidget>("AnzMEd")).startsWith(QStringLiteral("Anzahl")));
    // Numeric fields give their value as a number (it used to read 0).
    QAccessibleInterface* width = QAccessible::queryAccessibleInterface(Find<QWidget>("BreitEd"));
    ASSERT_NE(width->valueInterface(), nullptr);
    EXPECT_EQ(width->valueInterface()->currentValue().toDouble(), D().Paper.Breit);
}

TEST_F(MainFormTest, TabOrderFollowsTheLayout) {
    form->show();
    // From the layer buttons the tab key walks left to right, top to bottom.
    QStringList order;
    QWidget* w = Find<QWidget>("NewPlaneBtn");
    for (int i = 0; i < 10 && w; ++i) {
        // A spin box's own line edit takes the focus for it.
        if (!w->objectName().startsWith(QLatin1String("qt_"))) order << w->objectName();
        do w = w->nextInFocusChain();
        while (w && (w->focusPolicy() & Qt::TabFocus) != Qt::TabFocus);
    }
    EXPECT_EQ(order.mid(0, 8), (QStringList{"NewPlaneBtn", "DelPlaneBtn", "TrackBar1", "ZoomEd", "RerollBtn",
                                            "HoldSheetBox", "ListView1", "MoveUpBtn"}));
}

TEST_F(MainFormTest, WheelScrollsTheDesignViewAndCtrlWheelZooms) {
    auto* zoom = Find<TSpinEdit>("ZoomEd");
    zoom->SetValue(100);
    form->show();
    auto* box = Find<QScrollArea>("ScrollBox1");
    QScrollBar* v = box->verticalScrollBar();
    ASSERT_GT(v->maximum(), 100);
    // A notch down scrolls one wheel step; two notches two.
    Wheel(box->viewport(), -120);
    EXPECT_EQ(v->value(), kWheelStep);
    Wheel(box->viewport(), -240);
    EXPECT_EQ(v->value(), 3 * kWheelStep);
    Wheel(box->viewport(), 120 * 10);
    EXPECT_EQ(v->value(), 0);
    // Half notches add up.
    Wheel(box->viewport(), -60);
    Wheel(box->viewport(), -60);
    EXPECT_EQ(v->value(), kWheelStep);

    // A wheel message that no control takes reaches the window: it scrolls
    // the view as well; on the paper page it scrolls nothing.
    Wheel(form.get(), -120);
    EXPECT_EQ(v->value(), 2 * kWheelStep);
    Find<QTabWidget>("PageControl2")->setCurrentIndex(1);
    Wheel(form.get(), -120);
    EXPECT_EQ(v->value(), 2 * kWheelStep);

    // On the print page the wheel scrolls the print preview's box.
    auto* printBox = new QScrollArea(form->PrintPage());
    auto* sheet = new QWidget;
    sheet->setFixedSize(300, 3000);
    printBox->setWidget(sheet);
    printBox->resize(200, 200);
    form->SetPrintScrollBox(printBox);
    Find<QTabWidget>("PageControl2")->setCurrentIndex(2);
    Wheel(printBox->viewport(), -120);
    Wheel(form.get(), -120);
    EXPECT_EQ(printBox->verticalScrollBar()->value(), 2 * kWheelStep);
    EXPECT_EQ(v->value(), 2 * kWheelStep);
    Find<QTabWidget>("PageControl2")->setCurrentIndex(0);

    Wheel(box->viewport(), 120, Qt::ControlModifier);
    EXPECT_EQ(zoom->Value(), 110);
    Wheel(box->viewport(), -240, Qt::ControlModifier);
    EXPECT_EQ(zoom->Value(), 90);
    EXPECT_EQ(form->Workspace().GetDesign().Paper.Zoom, 90);
}

TEST_F(MainFormTest, DraggingPansUntilEachAxisStops) {
    Find<TSpinEdit>("ZoomEd")->SetValue(200);
    form->show();
    auto* box = Find<QScrollArea>("ScrollBox1");
    auto* view = Find<PaintBox>("PaintBox1");
    QScrollBar* h = box->horizontalScrollBar();
    QScrollBar* v = box->verticalScrollBar();
    ASSERT_GT(h->maximum(), 60);

    // Right button too; the design follows the pointer.
    Mouse(view, QEvent::MouseButtonPress, {200, 200}, Qt::RightButton, Qt::RightButton);
    Mouse(view, QEvent::MouseMove, {150, 190}, Qt::NoButton, Qt::RightButton);
    EXPECT_EQ(h->value(), 50);
    EXPECT_EQ(v->value(), 10);
    // Beyond the limits each axis stops at its own.
    Mouse(view, QEvent::MouseMove, {-100000, 300}, Qt::NoButton, Qt::RightButton);
    EXPECT_EQ(h->value(), h->maximum());
    EXPECT_EQ(v->value(), 0);
    Mouse(view, QEvent::MouseButtonRelease, {0, 0}, Qt::RightButton, Qt::NoButton);
    // After the release a move (even one with a button that was pressed
    // elsewhere) does nothing.
    Mouse(view, QEvent::MouseMove, {600, 600}, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(h->value(), h->maximum());
}

TEST(MainWindowProgram, HelpVersionAndNoDisplay) {
    const QString program = QStringLiteral(ZB_BIN_DIR "/zierbogen-drucker");
    QProcess p;
    p.start(program, {"--version"});
    ASSERT_TRUE(p.waitForFinished(20000));
    EXPECT_EQ(p.exitCode(), 0);
    // One version wherever it is stated; the title's "1.0" is its short form.
    EXPECT_EQ(p.readAllStandardOutput(), QByteArray("zierbogen-drucker 1.0.0\n"));

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(name);
    p.setProcessEnvironment(env);
    p.start(program, {});
    ASSERT_TRUE(p.waitForFinished(20000));
    EXPECT_NE(p.exitCode(), 0);
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    const QByteArray err = p.readAllStandardError();
    EXPECT_EQ(err.count('\n'), 1) << err.toStdString();
    EXPECT_TRUE(err.contains("Keine grafische Anzeige")) << err.toStdString();
}

// At 125 % and 150 % scaling the program opens, composes and fits its screen.
TEST(MainWindowProgram, OpensAtHigherDisplayScaling) {
    for (const char* factor : {"1.25", "1.5"}) {
        QTemporaryDir dir;
        const QString shot = dir.filePath("shot.png");
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("QT_SCALE_FACTOR", factor);
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(ZB_BIN_DIR "/zierbogen-drucker"),
                {QStringLiteral(ZB_SOURCE_DIR "/examples/beispiel.zbg"), "--screenshot", shot});
        ASSERT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(p.exitCode(), 0) << factor << p.readAllStandardError().toStdString();
        QImage image(shot);
        ASSERT_FALSE(image.isNull()) << factor;
        // The picture has device pixels: the logical window times the factor.
        EXPECT_GE(image.width(), int(622 * QByteArray(factor).toDouble()) - 2) << factor;
    }
}

TEST_F(MainFormTest, AClickIntoTheListsEmptySpaceKeepsTheSelectedLayer) {
    form->show();
    Click("NewPlaneBtn");
    QWidget* viewport = List()->viewport();
    const QPoint empty(10, viewport->height() - 5);
    Mouse(viewport, QEvent::MouseButtonPress, empty, Qt::LeftButton, Qt::LeftButton);
    Mouse(viewport, QEvent::MouseButtonRelease, empty, Qt::LeftButton, Qt::NoButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(SelectedRow(), 1);
    EXPECT_EQ(form->Workspace().GetDesign().Layers.SelectedIndex(), 1);
    // A click on a row selects that layer.
    const QRect row0 = List()->visualItemRect(List()->topLevelItem(0));
    Mouse(viewport, QEvent::MouseButtonPress, row0.center(), Qt::LeftButton, Qt::LeftButton);
    Mouse(viewport, QEvent::MouseButtonRelease, row0.center(), Qt::LeftButton, Qt::NoButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(form->Workspace().GetDesign().Layers.SelectedIndex(), 0);

    // A click on the row already selected loads it again: an edit still
    // being gathered by the timer becomes its undo step at once.
    Find<TSpinEdit>("PicBreitEd")->SetValue(50);
    const size_t steps = form->Workspace().History().StateCount();
    Mouse(viewport, QEvent::MouseButtonPress, row0.center(), Qt::LeftButton, Qt::LeftButton);
    Mouse(viewport, QEvent::MouseButtonRelease, row0.center(), Qt::LeftButton, Qt::NoButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(form->Workspace().History().StateCount(), steps + 1);
}

// Fields never take the wheel: over them it scrolls the page's view (on the
// paper page nothing), and Ctrl + wheel zooms the design view; tabs ignore it.
TEST_F(MainFormTest, FieldsLeaveTheWheelToTheWindow) {
    Find<TSpinEdit>("ZoomEd")->SetValue(100);
    form->show();
    QScrollBar* view = Find<QScrollArea>("ScrollBox1")->verticalScrollBar();
    struct Case {
        int page;
        const char* field;
    } cases[] = {{0, "TrackBar1"}, {0, "ZoomEd"}, {1, "HochEd"}, {1, "DezVEd"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        Find<QTabWidget>("PageControl2")->setCurrentIndex(c.page);
        QWidget* field = Find<QWidget>(c.field);
        const zb::PaperSettings paper = D().Paper;
        const int layerTransparency = D().Layers[0].Transparency;
        const int before = view->value();
        Wheel(field, -240);
        EXPECT_EQ(D().Paper.Hoch, paper.Hoch);
        EXPECT_EQ(D().Paper.DezV, paper.DezV);
        EXPECT_EQ(D().Paper.Zoom, paper.Zoom);
        EXPECT_EQ(D().Layers[0].Transparency, layerTransparency);
        EXPECT_EQ(view->value(), c.page == 0 ? before + 2 * kWheelStep : before);
    }
    // Every editor page's boxes alike, shown or not: the pattern shape stays.
    Find<QTabWidget>("PageControl2")->setCurrentIndex(0);
    Find<QTabWidget>("PageControl1")->setCurrentIndex(int(zb::kKindPattern));
    const int shape = D().Layers[0].PatternShape;
    Wheel(Find<QWidget>("MTypBox"), -120);
    EXPECT_EQ(D().Layers[0].PatternShape, shape);
    Wheel(Find<QWidget>("MTypBox"), 120, Qt::ControlModifier);
    EXPECT_EQ(D().Paper.Zoom, 110);

    // Tabs ignore the wheel: no other page, no other layer kind, no scrolling.
    for (const char* tabs : {"PageControl1", "PageControl2"}) {
        SCOPED_TRACE(tabs);
        auto* control = Find<QTabWidget>(tabs);
        const int page = control->currentIndex();
        const uint32_t kind = D().Layers[0].Kind;
        const int before = view->value();
        for (const int delta : {-120, 120, -360}) Wheel(control->tabBar(), delta);
        EXPECT_EQ(control->currentIndex(), page);
        EXPECT_EQ(D().Layers[0].Kind, kind);
        EXPECT_EQ(view->value(), before);
    }
}

// The window opens where, how large and on the page it was closed, and its
// file dialogs where they were last.
TEST_F(MainFormTest, TheWindowRemembersPlacePageAndFolders) {
    form->PlaceOnScreen();
    form->show();
    form->setGeometry(QRect(30, 40, 960, 500));
    Find<QTabWidget>("PageControl2")->setCurrentIndex(1);
    form->RememberFolder(zb::FileKind::Export, dir.filePath("bild.png"));
    ASSERT_TRUE(form->close());

    MakeWith(TestOptions());
    form->PlaceOnScreen();
    // What fits the offscreen screen of 800 x 600 stays; the width is shrunk to it.
    EXPECT_EQ(form->geometry().y(), 40);
    EXPECT_EQ(form->geometry().height(), 500);
    EXPECT_LE(form->frameGeometry().right(), form->screen()->availableGeometry().right());
    EXPECT_EQ(Find<QTabWidget>("PageControl2")->currentIndex(), 1);
    EXPECT_EQ(form->DialogFolder(zb::FileKind::Export), dir.path());
}

// Ctrl + wheel zooms the design view and the print preview about the
// pointer: the point of the sheet under it stays put.
TEST_F(MainFormTest, CtrlWheelZoomsAboutThePointer) {
    Find<TSpinEdit>("ZoomEd")->SetValue(200); // wider and higher than the views
    form->show();
    for (const int page : {0, 2}) {
        SCOPED_TRACE(page);
        Find<QTabWidget>("PageControl2")->setCurrentIndex(page);
        QCoreApplication::processEvents();
        auto* box = Find<QScrollArea>(page == 0 ? "ScrollBox1" : "ScrollBox2");
        QScrollBar* h = box->horizontalScrollBar();
        QScrollBar* v = box->verticalScrollBar();
        ASSERT_GT(h->maximum(), 100);
        h->setValue(100);
        v->setValue(200);
        const QPointF pointer(150, 120);
        const double zoom = Find<TSpinEdit>("ZoomEd")->Value();
        const double x = (h->value() + pointer.x()) / zoom, y = (v->value() + pointer.y()) / zoom;
        Wheel(box->viewport(), 120, Qt::ControlModifier, pointer);
        const double zoomed = Find<TSpinEdit>("ZoomEd")->Value();
        ASSERT_EQ(zoomed, zoom + 10);
        EXPECT_NEAR((h->value() + pointer.x()) / zoomed, x, 1.5 / zoomed);
        EXPECT_NEAR((v->value() + pointer.y()) / zoomed, y, 1.5 / zoomed);
    }
}
