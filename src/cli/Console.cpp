#include "cli/Console.h"

#include <cerrno>
#include <unistd.h>

#include "document/FileError.h"

namespace zb::cli {

std::FILE* Err() { return stderr; }

bool ErrIsTerminal() { return ::isatty(STDERR_FILENO) != 0; }

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
