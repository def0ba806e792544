// zierbogen-drucker: the window program.
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QScreen>
#include <QTimer>
#include <QTranslator>
#include <QWindow>
#include <clocale>
#include <cstdio>
#include <cstring>

#include "app/PictureViewerLink.h"
#include "app/ProgramIcon.h"
#include "app/TMainForm.h"
#include "app/WindowTitle.h"
#include "app/ZierbogenApplication.h"

namespace {

const char* const kUsage =
    "Aufruf: zierbogen-drucker [ENTWURF.zbg]\n"
    "\n"
    "Startet Zierbogen-Drucker, das Programm zum Entwerfen und Drucken von\n"
    "Zierpapier. Ein angegebener Entwurf wird beim Start geöffnet; werden\n"
    "mehrere genannt, öffnet es den ersten und sagt, welche es nicht öffnet.\n"
    "\n"
    "  --help      diese Hilfe zeigen\n"
    "  --version   die Programmversion zeigen\n";

bool HasDisplay(int argc, char** argv) {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value && *value) return true;
    }
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "-platform") == 0) return true;
    return false;
}

// Saves a picture of the window once it is on the screen and painted, says
// where its frame lies, then ends the program (used by the smoke tests and
// for the README's pictures).
void ScreenshotWhenShown(zb::TMainForm& form, const QString& file) {
    auto* poll = new QTimer(&form);
    poll->setInterval(100);
    int* waited = new int(0);
    QObject::connect(poll, &QTimer::timeout, &form, [&form, poll, waited, file] {
        ++*waited;
        const bool exposed = form.windowHandle() && form.windowHandle()->isExposed();
        if ((!exposed || form.Workspace().Stale()) && *waited < 150) return;
        if (*waited < 5) return; // let the first paints settle
        poll->stop();
        QPixmap shot;
        if (exposed && QGuiApplication::platformName() != QLatin1String("offscreen"))
            shot = form.screen()->grabWindow(form.winId());
        if (shot.isNull()) shot = form.grab();
        const bool saved = exposed && shot.save(file, "PNG");
        if (!saved) std::fprintf(stderr, "zierbogen-drucker: Bildschirmfoto nicht gespeichert: %s\n", qPrintable(file));
        // Where the framed window lies on its screen's free area (logical pixels).
        const QRect frame = form.frameGeometry(), free = form.screen()->availableGeometry();
        std::printf("Rahmen: %d %d %d %d; frei: %d %d %d %d\n", frame.x(), frame.y(), frame.width(), frame.height(),
                    free.x(), free.y(), free.width(), free.height());
        delete waited;
        QCoreApplication::exit(saved ? 0 : 1);
    });
    poll->start();
}

} // namespace

int main(int argc, char** argv) {
    QStringList files;
    QString screenshot;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("zierbogen-drucker %s\n", ZB_VERSION);
            return 0;
        }
        if (std::strcmp(argv[i], "--screenshot") == 0 && i + 1 < argc) {
            screenshot = QString::fromLocal8Bit(argv[++i]);
            continue;
        }
        if (std::strcmp(argv[i], "-platform") == 0 && i + 1 < argc) {
            ++i; // Qt's own option
            continue;
        }
        files << QString::fromLocal8Bit(argv[i]);
    }
    if (!HasDisplay(argc, argv)) {
        std::fputs("zierbogen-drucker: Keine grafische Anzeige gefunden (weder DISPLAY noch WAYLAND_DISPLAY "
                   "ist gesetzt); das Programm braucht eine X11- oder Wayland-Sitzung.\n",
                   stderr);
        return 2;
    }

    zb::ZierbogenApplication app(argc, argv);
    // Qt adopts the user's locale for the C library too; numbers in files,
    // messages and fields are formatted by our own rules, never by that.
    std::setlocale(LC_NUMERIC, "C");
    QCoreApplication::setApplicationName(QString::fromUtf8(zb::kApplicationTitle));
    QCoreApplication::setOrganizationName(QStringLiteral("Zierbogen"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZB_VERSION));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(zb::kDesktopName));
    QApplication::setWindowIcon(zb::ProgramIcon());
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    // Qt's own dialogs (file dialogs, buttons) in German where the translations are installed.
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtTranslator);

    zb::TMainForm::Options options;
    options.arguments = files;
    zb::TMainForm form(options);
    zb::AttachPictureViewer(form);
    form.PlaceOnScreen();
    form.show();
    if (!screenshot.isEmpty()) ScreenshotWhenShown(form, screenshot);
    return app.exec();
}
