#pragma once
// The subcommands of `zierbogen`. Each takes the arguments after its name and
// returns the exit code: 0 on success, 1 when a file could not be read or
// written, 2 for a wrong call.
#include <string>
#include <vector>

namespace zb::cli {

int InfoCommand(const std::vector<std::string>& args);
int TexturesCommand(const std::vector<std::string>& args);
int RenderCommand(const std::vector<std::string>& args);
int ExportCommand(const std::vector<std::string>& args);
int VariantsCommand(const std::vector<std::string>& args);
int PrintCommand(const std::vector<std::string>& args);

} // namespace zb::cli
