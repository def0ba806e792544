#include "cli/Console.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

#include "document/FileError.h"

namespace zb::cli {
namespace {
std::FILE* g_err = nullptr;
bool g_terminal = false;
} // namespace

void SetUpConsole() {
    g_terminal = ::isatty(STDERR_FILENO) != 0;
    if (std::getenv("ZB_DEBUG")) return;
    const int saved = ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 3);
    const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (saved < 0 || null < 0) {
        if (saved >= 0) ::close(saved);
        if (null >= 0) ::close(null);
        return;
    }
    std::FILE* f = ::fdopen(saved, "w");
    if (!f) {
        ::close(saved);
        ::close(null);
        return;
    }
    std::fflush(stderr);
    ::dup2(null, STDERR_FILENO);
    ::close(null);
    std::setvbuf(f, nullptr, _IOLBF, 0);
    g_err = f;
}

std::FILE* Err() { return g_err ? g_err : stderr; }

bool ErrIsTerminal() { return g_terminal; }

void Fail(const std::string& message) {
    std::fprintf(Err(), "zierbogen: %s\n", message.c_str());
    std::fflush(Err());
}

bool FinishOutput() {
    errno = 0;
    if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return true;
    const int error = errno ? errno : EIO;
    Fail("Die Ausgabe konnte nicht geschrieben werden: " + FileErrorText(error) + ".");
    return false;
}

} // namespace zb::cli
