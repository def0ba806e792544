// The manual through the real window: F1 on each page opens it at that page's
// section, "Hilfe" at its start, Esc closes it, and a missing manual says
// where it was looked for. The manual itself: every link and picture resolves.
#include <QImage>
#include <QScrollBar>
#include <QSet>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>

#include "MainFormFixture.h"
#include "app/HelpWindow.h"

using zbtest::MainFormTest;

namespace {

const QString kManualTitle = QString::fromUtf8("Zierbogen-Drucker – Handbuch");

zb::HelpWindow* Help(zb::TMainForm& form) { return form.findChild<zb::HelpWindow*>(QStringLiteral("HelpWindow")); }

// The line at the top of the browser's view.
std::string TopLine(QTextBrowser* browser) {
    QCoreApplication::processEvents();
    return browser->cursorForPosition(QPoint(8, 8)).block().text().trimmed().toStdString();
}

void Activate(QWidget* w) {
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
}

} // namespace

TEST_F(MainFormTest, F1OpensTheManualAtTheOpenPagesSectionAndEscClosesIt) {
    const struct {
        int page;
        const char* heading;
    } cases[] = {
        {0, "2. Die Seite „Grafik-Ebenen“"},
        {1, "3. Die Seite „Papierformat wählen“"},
        {2, "4. Die Seite „Drucken“"},
    };
    form->show();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.heading);
        Find<QTabWidget>("PageControl2")->setCurrentIndex(c.page);
        Activate(form.get());
        QTest::keyClick(form.get(), Qt::Key_F1);
        zb::HelpWindow* help = Help(*form);
        ASSERT_NE(help, nullptr);
        ASSERT_TRUE(help->isVisible());
        EXPECT_EQ(help->windowTitle(), kManualTitle);
        EXPECT_EQ(TopLine(help->Browser()), c.heading);
        Activate(help);
        QTest::keyClick(help, Qt::Key_Escape);
        EXPECT_FALSE(help->isVisible());
    }
    EXPECT_EQ(dialogs.Count("error"), 0) << dialogs.LastText("error").toStdString();
}

TEST_F(MainFormTest, HilfeButtonOpensTheManualAtItsStart) {
    form->show();
    Activate(form.get());
    // Opened further down first: the button still starts at the title.
    Find<QTabWidget>("PageControl2")->setCurrentIndex(2);
    QTest::keyClick(form.get(), Qt::Key_F1);
    zb::HelpWindow* help = Help(*form);
    ASSERT_NE(help, nullptr);
    ASSERT_GT(help->Browser()->verticalScrollBar()->value(), 0);
    Click("HilfeBtn");
    EXPECT_EQ(Help(*form), help);  // the same window again, with its history
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->Browser()->verticalScrollBar()->value(), 0);
    EXPECT_EQ(TopLine(help->Browser()), kManualTitle.toStdString());
    EXPECT_EQ(help->Browser()->documentTitle(), kManualTitle);
    // Alt+Left goes back to where F1 had opened it.
    Activate(help);
    QTest::keyClick(help->Browser(), Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(TopLine(help->Browser()), "4. Die Seite „Drucken“");
    // The window fits the screen it opened on.
    const QRect screen = form->screen()->availableGeometry();
    EXPECT_LE(help->width(), screen.width());
    EXPECT_LE(help->height(), screen.height());
}

TEST_F(MainFormTest, MissingManualSaysWhereItWasLookedFor) {
    QTemporaryDir bare;  // a program folder without manual (nor textures)
    ASSERT_TRUE(bare.isValid());
    zb::TMainForm::Options options = TestOptions();
    options.programFolder = bare.path();
    MakeWith(options);
    form->show();
    const int before = dialogs.Count("error");
    Click("HilfeBtn");
    ASSERT_EQ(dialogs.Count("error"), before + 1);
    EXPECT_EQ(dialogs.LastCaption("error"), "Hilfe");
    const QString text = dialogs.LastText("error");
    EXPECT_TRUE(text.startsWith("Das Handbuch wurde nicht gefunden:")) << text.toStdString();
    EXPECT_TRUE(text.contains(bare.path() + "/handbuch/index.html")) << text.toStdString();
    EXPECT_EQ(Help(*form), nullptr);
}

// Every internal link of the manual names an anchor it has, the window's
// sections are among them, and every picture loads.
TEST_F(MainFormTest, ManualLinksAndPicturesResolve) {
    form->show();
    Click("HilfeBtn");
    zb::HelpWindow* help = Help(*form);
    ASSERT_NE(help, nullptr);
    QTextBrowser* browser = help->Browser();
    QSet<QString> anchors;
    QStringList links, pictures;
    for (QTextBlock b = browser->document()->begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            for (const QString& name : f.anchorNames()) anchors.insert(name);
            if (f.isAnchor() && f.anchorHref().startsWith('#')) links << f.anchorHref().mid(1);
            if (f.isImageFormat()) pictures << f.toImageFormat().name();
        }
    }
    for (const char* section : {"inhalt", "ebenen", "papierformat", "drucken"})
        links << QString::fromLatin1(section);
    EXPECT_GE(links.size(), 15);
    for (const QString& link : links) EXPECT_TRUE(anchors.contains(link)) << "#" << link.toStdString();
    EXPECT_EQ(pictures.size(), 6);
    for (const QString& picture : pictures) {
        const QVariant data = browser->loadResource(QTextDocument::ImageResource, QUrl(picture));
        EXPECT_FALSE(QImage::fromData(data.toByteArray()).isNull()) << picture.toStdString();
    }
}
