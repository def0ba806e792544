// The real program on a virtual X server: it opens the sample design, shows
// its window and saves a picture of it into the build tree
// (build/screenshots/main-window.png).
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>

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
