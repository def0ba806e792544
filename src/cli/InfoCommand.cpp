#include <cstdio>
#include <memory>

#include "cli/Arguments.h"
#include "cli/Commands.h"
#include "cli/Common.h"
#include "cli/Console.h"
#include "cli/DesignInfo.h"
#include "cli/Usage.h"

namespace zb::cli {

int InfoCommand(const std::vector<std::string>& args) {
    Arguments a;
    if (!ParseArguments("info", args, {{"--json", false}, {"--page", true}, {"--printer-dpi", true}}, a)) return 2;
    if (a.help) {
        std::fputs(CommandUsage("info"), stdout);
        return 0;
    }
    if (a.operands.size() != 1) {
        std::fprintf(Err(), a.operands.empty() ? "zierbogen info: ein Entwurf ist nötig (zierbogen info --help).\n"
                                               : "zierbogen info: nur ein Entwurf auf einmal.\n");
        return 2;
    }
    PageChoice page;
    if (!ChoosePage("info", a, page)) return 2;
    const std::string& file = a.operands[0];
    std::unique_ptr<Design> design = LoadDesign(file);
    if (!design) return 1;
    const std::string text = a.flags.count("--json") ? DesignInfoJson(*design, file, page)
                                                     : DesignInfoText(*design, file, page);
    std::fputs(text.c_str(), stdout);
    return 0;
}

} // namespace zb::cli
