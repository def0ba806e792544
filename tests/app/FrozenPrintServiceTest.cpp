// The window's start with a print service that takes connections and never
// answers: the window is up at once, and after the time limit it works on the
// page without printer and says so.
#include "MainFormFixture.h"

#include <QLabel>
#include <QStatusBar>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "output/PrinterPageRequest.h"

using zbtest::MainFormTest;

TEST_F(MainFormTest, AFrozenPrintServiceNeitherHoldsTheWindowNorItsPages) {
    const QByteArray socketPath = QFile::encodeName(dir.filePath("cups.sock"));
    const int server = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", socketPath.constData());
    ASSERT_EQ(::bind(server, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(server, 64), 0);
    qputenv("CUPS_SERVER", socketPath);

    zb::TMainForm::Options options = TestOptions();
    options.printer.reset();
    QElapsedTimer clock;
    clock.start();
    MakeWith(options);
    Show();
    EXPECT_LT(clock.elapsed(), 2000);
    EXPECT_TRUE(form->PrintPage()->findChildren<QWidget*>().isEmpty());

    while (clock.elapsed() < 10000 && form->PrintPage()->findChildren<QWidget*>().isEmpty())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_GE(clock.elapsed(), zb::kPrintServiceTimeLimit.count() - 300);
    EXPECT_FALSE(form->PrintPage()->findChildren<QWidget*>().isEmpty());
    EXPECT_EQ(form->statusBar()->currentMessage(), QString::fromUtf8(zb::kPrintServiceSilent));
    EXPECT_TRUE(form->Workspace().Printer().fallback);
    ::close(server);
}
