#include "cli/Common.h"

#include "cli/Console.h"
#include "document/DesignFile.h"
#include "model/PaperSizes.h"
#include "output/PrinterPage.h"
#include "output/PrinterPageRequest.h"
#include "platform/FileNames.h"

namespace zb::cli {

std::unique_ptr<Design> LoadDesign(const std::string& path) {
    std::unique_ptr<Design> design;
    const FileResult r = openfile(path, design);
    if (!r) {
        Fail("Die Datei „" + platform::DisplayPath(path) + "“ konnte nicht geöffnet werden. " + r.Reason + ".");
        return nullptr;
    }
    return design;
}

bool ChoosePage(const std::string& command, const Arguments& a, PageChoice& out) {
    int64_t ppi = 0;
    if (!WholeOption(command, a, "--printer-dpi", 1, 100000, ppi)) return false;
    // A print service that does not answer costs a few seconds, never the command.
    std::optional<PrinterPage> asked = PrinterPageRequest().Wait(kPrintServiceTimeLimit);
    if (!asked) {
        LeavePrintServiceAlone();
        std::fprintf(Err(), "zierbogen %s: %s\n", command.c_str(), kPrintServiceSilent);
    }
    const PrinterPage printer = asked ? *asked : FallbackPrinterPage();
    out.page = printer.page;
    out.page.ppiY = printer.ppiY;
    out.fallback = printer.fallback;
    out.printerName = printer.printerName.toStdString();
    if (ppi > 0) {
        out.page.ppi = int32_t(ppi);
        out.page.ppiY = int32_t(ppi);
        out.fallback = false;
    }
    if (const auto it = a.values.find("--page"); it != a.values.end()) {
        const std::string& v = it->second;
        const size_t x = v.find_first_of("xX");
        int64_t w = 0, h = 0;
        if (const std::optional<PaperSize> named = PaperSizeNamed(v)) {
            // A named size is the whole sheet of paper at the printer's
            // resolution, cut to whole pixels.
            w = int64_t(named->widthMM / 25.4 * out.page.ppi);
            h = int64_t(named->heightMM / 25.4 * out.page.ppiY);
        } else if (x == std::string::npos || !ParseWhole(v.substr(0, x), 1, 10000000, w) ||
                   !ParseWhole(v.substr(x + 1), 1, 10000000, h)) {
            std::fprintf(Err(), "zierbogen %s: ungültiger Wert „%s“ für --page: BxH in ganzen Druckerpixeln, "
                                "z. B. 4760x6779, oder A5, A4, A3, Letter, Legal (mit „-quer“ im Querformat).\n",
                         command.c_str(), v.c_str());
            return false;
        }
        out.page.width = int32_t(w);
        out.page.height = int32_t(h);
        out.fallback = false;
        out.printerName.clear();
    }
    return true;
}

} // namespace zb::cli
