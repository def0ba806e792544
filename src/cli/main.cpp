// zierbogen: the headless program. Describes designs and the texture library;
// renders, exports and prints designs without a window.
#include <QGuiApplication>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/Usage.h"

// Qt's own diagnostics (missing runtime folder and the like) would mix with our
// output; they are shown only when ZB_DEBUG is set. Standard error itself
// stays open, so crash and sanitizer reports reach it.
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
    if (command == "print") return zb::cli::PrintCommand(args);
    std::fprintf(zb::cli::Err(), "zierbogen: unbekannter Befehl „%s“.\n\n%s", command.c_str(),
                 zb::cli::GeneralUsage());
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    // Under a file-size limit a write then fails with EFBIG and is reported
    // like a full disk, instead of the signal ending the program mid-file.
    std::signal(SIGXFSZ, SIG_IGN);
    qInstallMessageHandler(QuietMessages);
    // Fonts need a Gui application; without a display the offscreen platform serves.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    // Qt adopts the user's locale for the C library too; numbers in files,
    // messages and fields are formatted by our own rules, never by that.
    std::setlocale(LC_NUMERIC, "C");

    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        std::fputs(zb::cli::GeneralUsage(), zb::cli::Err());
        return 2;
    }
    const std::string command = args.front();
    args.erase(args.begin());
    int code = 0;
    if (command == "--help" || command == "-h" || command == "help") {
        // "zierbogen help render" shows that command's help.
        const char* text = args.size() == 1 ? zb::cli::CommandUsage(args[0]) : nullptr;
        std::fputs(text ? text : zb::cli::GeneralUsage(), stdout);
    } else if (command == "--version") {
        std::printf("zierbogen %s\n", ZB_VERSION);
    } else {
        try {
            code = Run(command, args);
        } catch (const std::bad_alloc&) {
            // The writers on the unwound stack have removed their temporary files.
            zb::cli::Fail("Nicht genug Speicher: der Befehl „" + command + "“ wurde abgebrochen.");
            code = 1;
        }
    }
    // Output that did not reach its file (a full disk, /dev/full) is a failure.
    code = zb::cli::FinishOutput() ? code : (code == 0 ? 1 : code);
    if (code != 0) {
        // A command that failed may have run short of memory while the font
        // library read its configuration; that library then crashes when the
        // application tears it down. Everything the command writes is done.
        std::fflush(nullptr);
        std::_Exit(code);
    }
    return code;
}
