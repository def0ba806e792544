// The real program on a virtual X server: it opens the sample design, shows
// its window and saves a picture of it into the build tree
// (build/screenshots/main-window.png); with a window manager, its frame lies
// on the screen.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRect>
#include <QRegularExpression>
#include <QSet>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWidget>
#include <string>

TEST(ProgramSmoke, ShowsTheSampleDesignOnAVirtualScreen) {
    const QString xvfbRun = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
    ASSERT_FALSE(xvfbRun.isEmpty()) << "xvfb-run is missing (scripts/setup.sh installs it)";
    const QString folder = QStringLiteral(ZB_BIN_DIR "/../screenshots");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString shot = folder + QStringLiteral("/main-window.png");
    QFile::remove(shot);

    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM")); // the X server, not the offscreen platform
    p.setProcessEnvironment(env);
    p.start(xvfbRun, {"-a", "-s", "-screen 0 1280x1024x24", QStringLiteral(ZB_BIN_DIR "/zierbogen-drucker"),
                      QStringLiteral(ZB_SOURCE_DIR "/examples/beispiel.zbg"), "--screenshot", shot});
    ASSERT_TRUE(p.waitForFinished(90000));
    ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();

    QImage image(shot);
    ASSERT_FALSE(image.isNull()) << "no screenshot";
    EXPECT_GE(image.width(), 600);
    EXPECT_GE(image.height(), 400);
    // Not blank: the controls and the composed design give many colours.
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 3)
        for (int x = 0; x < image.width(); x += 3) colours.insert(image.pixel(x, y));
    EXPECT_GT(colours.size(), 100);
}

// Under a real window manager the whole window, title bar included, lies in
// the screen's free area: at the first start and when the saved place is too
// large for the screen, on 1366 x 768 and on 1920 x 1080 at 150 %.
TEST(ProgramSmoke, TheFramedWindowLiesOnTheScreen) {
    const QString xvfbRun = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
    const QString manager = QStandardPaths::findExecutable(QStringLiteral("openbox"));
    ASSERT_FALSE(xvfbRun.isEmpty() || manager.isEmpty()) << "xvfb-run or openbox is missing (scripts/setup.sh)";
    const struct {
        const char* screen;
        const char* scale;
        bool savedTooLarge;
    } cases[] = {{"1366x768", "1", false}, {"1366x768", "1", true}, {"1920x1080", "1.5", false},
                 {"1920x1080", "1.5", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.screen) + " x " + c.scale + (c.savedTooLarge ? ", saved too large" : ", first start"));
        QTemporaryDir home;
        if (c.savedTooLarge) {
            // A place remembered from a larger screen, partly above and left of this one.
            QWidget large;
            large.setGeometry(-40, -30, 2500, 1500);
            QSettings saved(home.filePath("config/Zierbogen/Zierbogen-Drucker.conf"), QSettings::IniFormat);
            saved.setValue("Fenster/Geometrie", large.saveGeometry());
        }
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath("config"));
        env.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath("data"));
        env.insert(QStringLiteral("QT_SCALE_FACTOR"), QString::fromLatin1(c.scale));
        p.setProcessEnvironment(env);
        // The window manager first, then the program, which ends after its picture.
        p.start(xvfbRun, {"-a", "-s", QStringLiteral("-screen 0 %1x24").arg(QLatin1String(c.screen)), "sh", "-c",
                          "\"$0\" --sm-disable & sleep 1; \"$1\" \"$2\" --screenshot \"$3\"", manager,
                          QStringLiteral(ZB_BIN_DIR "/zierbogen-drucker"),
                          QStringLiteral(ZB_SOURCE_DIR "/examples/beispiel.zbg"), home.filePath("shot.png")});
        ASSERT_TRUE(p.waitForFinished(90000));
        const QString out = QString::fromLocal8Bit(p.readAllStandardOutput());
        ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
        const QRegularExpressionMatch m =
            QRegularExpression(QStringLiteral("Rahmen: (-?\\d+) (-?\\d+) (\\d+) (\\d+); frei: (-?\\d+) (-?\\d+) (\\d+) (\\d+)"))
                .match(out);
        ASSERT_TRUE(m.hasMatch()) << out.toStdString();
        const QRect frame(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt(), m.captured(4).toInt());
        const QRect free(m.captured(5).toInt(), m.captured(6).toInt(), m.captured(7).toInt(), m.captured(8).toInt());
        EXPECT_TRUE(free.contains(frame)) << out.toStdString();
        // Framed: the window manager's title bar is part of what must fit.
        EXPECT_GT(frame.height(), QImage(home.filePath("shot.png")).height() / std::stod(c.scale) + 5)
            << out.toStdString();
    }
}
