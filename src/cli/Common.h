#pragma once
// What several commands share: loading a design with the program's message,
// and the printable page a whole-page design is sized by.
#include <memory>
#include <string>

#include "cli/Arguments.h"
#include "model/Design.h"
#include "render/DesignSize.h"

namespace zb::cli {

// Opens a design file; prints "zierbogen: Die Datei „PATH“ ..." (the path as
// given) and returns nullptr on failure.
std::unique_ptr<Design> LoadDesign(const std::string& path);

// The printable page: --page PWxPH and --printer-dpi P where given, else the
// default printer's, else A4 at 600 dpi (the fallback page).
struct PageChoice {
    PrintablePage page;
    bool fallback = false;   // the A4 page that stands in for a missing printer
    std::string printerName; // UTF-8; empty unless the default printer gave the page
};

// The options --page and --printer-dpi of `command`; prints the reason and
// returns false for a wrong value.
bool ChoosePage(const std::string& command, const Arguments& a, PageChoice& out);

} // namespace zb::cli
