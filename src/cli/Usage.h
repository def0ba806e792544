#pragma once
// The help texts of `zierbogen` and of each of its commands.
#include <string>

namespace zb::cli {

// All commands in short.
const char* GeneralUsage();
// One command in full; nullptr for a name that is no command.
const char* CommandUsage(const std::string& command);

} // namespace zb::cli
