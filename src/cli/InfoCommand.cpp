#include <cstdio>
#include <memory>

#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/DesignInfo.h"
#include "document/DesignFile.h"

namespace zb::cli {

int InfoCommand(const std::vector<std::string>& args) {
    std::string file;
    bool json = false;
    for (const std::string& a : args) {
        if (a == "--json") {
            json = true;
        } else if (!a.empty() && a[0] == '-') {
            std::fprintf(Err(), "zierbogen info: unbekannte Option „%s“.\n", a.c_str());
            return 2;
        } else if (file.empty()) {
            file = a;
        } else {
            std::fprintf(Err(), "zierbogen info: nur ein Entwurf auf einmal.\n");
            return 2;
        }
    }
    if (file.empty()) {
        std::fprintf(Err(), "Aufruf: zierbogen info ENTWURF.zbg [--json]\n");
        return 2;
    }
    std::unique_ptr<Design> design;
    const FileResult result = openfile(file, design);
    if (!result) {
        Fail(result.Message);
        return 1;
    }
    const std::string text = json ? DesignInfoJson(*design, file) : DesignInfoText(*design, file);
    std::fputs(text.c_str(), stdout);
    return 0;
}

} // namespace zb::cli
