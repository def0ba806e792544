#pragma once
// Standard error and standard output of the command-line program.
#include <cstdio>
#include <string>

namespace zb::cli {

// Where the program's own messages go: standard error.
std::FILE* Err();
// True when standard error is a terminal (progress is shown then).
bool ErrIsTerminal();
// Prints "zierbogen: " + message + newline to Err().
void Fail(const std::string& message);
// Flushes standard output; false (with a message) when that failed, e.g. on
// a full disk or /dev/full.
bool FinishOutput();

} // namespace zb::cli
