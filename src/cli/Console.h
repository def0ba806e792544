#pragma once
// Standard error of the command-line program. The picture libraries under Qt
// print their own complaints ("libpng error: ...") straight to descriptor 2;
// those go nowhere (or, with ZB_DEBUG set, stay visible), while the program's
// own messages go to the real standard error through Err().
#include <cstdio>
#include <string>

namespace zb::cli {

// Called once at start: moves the real standard error aside.
void SetUpConsole();
// The real standard error.
std::FILE* Err();
// True when the real standard error is a terminal (progress is shown then).
bool ErrIsTerminal();
// Prints "zierbogen: " + message + newline to Err().
void Fail(const std::string& message);
// Flushes standard output; false (with a message) when that failed, e.g. on
// a full disk or /dev/full.
bool FinishOutput();

} // namespace zb::cli
