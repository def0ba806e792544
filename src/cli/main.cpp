// zierbogen: the headless program. Describes designs and the texture library;
// renders and exports designs without a window.
#include <QGuiApplication>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/Console.h"

namespace {

const char* kUsage =
    "Aufruf:\n"
    "  zierbogen info ENTWURF.zbg [--json]\n"
    "      Ebenen von unten nach oben mit allen Einstellungen, Texten und Grafikgrößen,\n"
    "      dann Papierformat, Zoom und Ränder.\n"
    "  zierbogen textures [ORDNER]\n"
    "      Was die Texturbibliothek enthielte (Vorgabe: der Ordner \"texturen\" neben\n"
    "      dem Programm, sonst der installierte in ../share/zierbogen-drucker/), und\n"
    "      warum eine Datei übergangen wird.\n"
    "  zierbogen render ENTWURF.zbg -o AUSGABE.png [--seed N] [--screen-dpi S] [--zoom Z]\n"
    "                   [--page BxH] [--printer-dpi P]\n"
    "      Setzt den Entwurf zusammen wie die Entwurfsansicht (S Pixel je Zoll, Vorgabe 96;\n"
    "      Zoom Z %, Vorgabe der gespeicherte Zoom; druckbare Seite B x H Druckerpixel bei\n"
    "      P Pixel je Zoll, Vorgabe der Standarddrucker oder 4760x6779 bei 600) und schreibt\n"
    "      genau diese Grafik als 24-Bit-PNG.\n"
    "  zierbogen export ENTWURF.zbg -o AUSGABE.{png,jpg,tif,bmp,pdf} [--dpi D] [--seed N]\n"
    "      Der Entwurf in seiner wirklichen Größe bei D Pixel je Zoll (Vorgabe 300), mit\n"
    "      vermerkter Auflösung.\n"
    "  zierbogen variants ENTWURF.zbg -o ORDNER --count K [--dpi D] [--seed N]\n"
    "      K verschiedene Bogen desselben Entwurfs.\n"
    "  zierbogen --help | --version\n";

} // namespace

// Qt's own diagnostics (missing runtime folder and the like) would mix with our
// output; they are shown only when ZB_DEBUG is set.
void QuietMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg || qEnvironmentVariableIsSet("ZB_DEBUG"))
        std::fprintf(zb::cli::Err(), "%s\n", message.toLocal8Bit().constData());
}

namespace {

int Run(const std::string& command, const std::vector<std::string>& args) {
    if (command == "info") return zb::cli::InfoCommand(args);
    if (command == "textures") return zb::cli::TexturesCommand(args);
    if (command == "render") return zb::cli::RenderCommand(args);
    if (command == "export") return zb::cli::ExportCommand(args);
    if (command == "variants") return zb::cli::VariantsCommand(args);
    std::fprintf(zb::cli::Err(), "zierbogen: unbekannter Befehl „%s“.\n\n%s", command.c_str(), kUsage);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    zb::cli::SetUpConsole();
    qInstallMessageHandler(QuietMessages);
    // Fonts need a Gui application; without a display the offscreen platform serves.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        std::fputs(kUsage, zb::cli::Err());
        return 2;
    }
    const std::string command = args.front();
    args.erase(args.begin());
    if (command == "--help" || command == "-h" || command == "help") {
        std::fputs(kUsage, stdout);
        return zb::cli::FinishOutput() ? 0 : 1;
    }
    if (command == "--version") {
        std::printf("zierbogen %s\n", ZB_VERSION);
        return zb::cli::FinishOutput() ? 0 : 1;
    }
    const int code = Run(command, args);
    // Output that did not reach its file (a full disk, /dev/full) is a failure.
    return zb::cli::FinishOutput() ? code : (code == 0 ? 1 : code);
}
