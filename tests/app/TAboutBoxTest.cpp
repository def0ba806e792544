#include "app/TAboutBox.h"

#include "app/ProjectInfo.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QUrl>

using namespace zb;

TEST(TAboutBox, YearPlaceholder) {
    struct Case {
        const char* text;
        int year;
        const char* result;
    } cases[] = {
        {"© XXXX Projekt", 2026, "© 2026 Projekt"},
        {"XXXX bis XXXX", 2031, "2031 bis XXXX"},
        {"XXXXX", 2026, "2026X"},
        {"ohne Platzhalter", 2026, "ohne Platzhalter"},
        {"", 2026, ""},
        {"Jahr XXXX", 987, "Jahr 0987"},
        {"xxxx XXX", 2026, "xxxx XXX"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ReplaceYearPlaceholder(QString::fromUtf8(c.text), c.year), QString::fromUtf8(c.result));
    }
}

namespace {

// Stands in for the browser.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void Open(const QUrl& url) { urls << url; }
};

} // namespace

TEST(TAboutBox, ShowsOurTextsAndOpensOurAddress) {
    TAboutBox box;
    EXPECT_EQ(box.windowTitle(), "Info");
    EXPECT_EQ(box.size(), box.minimumSize());
    EXPECT_EQ(box.size(), box.maximumSize());
    EXPECT_GE(box.width(), TAboutBox::kClientWidth);
    EXPECT_GE(box.height(), TAboutBox::kClientHeight);

    auto* dated = box.findChild<QLabel*>("Copyright");
    ASSERT_NE(dated, nullptr);
    EXPECT_TRUE(dated->text().contains(QString::number(QDate::currentDate().year())));
    EXPECT_FALSE(dated->text().contains("XXXX"));

    auto* picture = box.findChild<QLabel*>("ProgramIcon");
    ASSERT_NE(picture, nullptr);
    EXPECT_FALSE(picture->pixmap().isNull());
    EXPECT_EQ(picture->size(), QSize(306, 322));

    auto* panel = box.findChild<QWidget*>("Panel1");
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->palette().color(QPalette::Window), QColor(240, 202, 166));

    UrlCatcher catcher;
    QDesktopServices::setUrlHandler("https", &catcher, "Open");
    auto* web = box.findChild<QToolButton*>("wwwBtn");
    ASSERT_NE(web, nullptr);
    web->click();
    QDesktopServices::unsetUrlHandler("https");
    ASSERT_EQ(catcher.urls.size(), 1);
    EXPECT_EQ(catcher.urls[0], QUrl(kProjectWebAddress));
    EXPECT_FALSE(web->accessibleName().isEmpty());

    auto* ok = box.findChild<QPushButton*>("BitBtn1");
    ASSERT_NE(ok, nullptr);
    box.show();
    ok->click();
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.result(), QDialog::Accepted);
}

#include "TAboutBoxTest.moc"
