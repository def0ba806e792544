// print: the design on a printer, through the same printing as the window.
#include <QFile>
#include <QPrinter>
#include <cstdio>
#include <filesystem>

#include "cli/Arguments.h"
#include "cli/Commands.h"
#include "cli/Common.h"
#include "cli/Console.h"
#include "cli/Usage.h"
#include "output/DesignPrinting.h"
#include "output/PrintSession.h"
#include "output/PrinterPageRequest.h"
#include "platform/FileNames.h"
#include "platform/QtFontEngine.h"
#include "render/RandomInt.h"

namespace zb::cli {

// The screen the stored zoom refers to: filter layers print as a design view
// of 96 pixels per inch at that zoom shows them.
inline constexpr double kReferenceScreenPpi = 96.0;

int PrintCommand(const std::vector<std::string>& args) {
    Arguments a;
    const std::vector<OptionSpec> specs = {{"--printer", true}, {"--seed", true}, {"--sheets", true},
                                           {"--pixel-filters", false}, {"--pdf", true},
                                           {"--poster", false},        {"--overlap", true},
                                           {"--max-pages", true}};
    if (!ParseArguments("print", args, specs, a)) return 2;
    if (a.help) {
        std::fputs(CommandUsage("print"), stdout);
        return 0;
    }
    if (a.operands.size() != 1) {
        std::fprintf(Err(), "zierbogen print: genau ein Entwurf ist nötig (zierbogen print --help).\n");
        return 2;
    }
    int64_t seed = -1, sheets = 1, maxPages = kPagesWithoutQuestion;
    if (!WholeOption("print", a, "--seed", 0, 0xFFFFFFFFll, seed)) return 2;
    if (!WholeOption("print", a, "--max-pages", 1, 100000000, maxPages)) return 2;
    if (!WholeOption("print", a, "--sheets", 1, kMaxSheets, sheets)) return 2;
    double overlap = kDefaultOverlapCm;
    if (!DecimalOption("print", a, "--overlap", kMinOverlapCm, kMaxOverlapCm, overlap)) return 2;
    if (a.values.count("--overlap") && !a.Has("--poster")) {
        std::fprintf(Err(), "zierbogen print: --overlap gilt nur mit --poster.\n");
        return 2;
    }
    const QString printerName = a.values.count("--printer") ? QString::fromStdString(a.values.at("--printer")) : QString();
    const std::string pdf = a.values.count("--pdf") ? a.values.at("--pdf") : std::string();
    if (!printerName.isEmpty() && !pdf.empty()) {
        std::fprintf(Err(), "zierbogen print: --printer und --pdf schließen einander aus.\n");
        return 2;
    }

    auto design = LoadDesign(a.operands[0]);
    if (!design) return 1;

    // A PDF needs no printer: the print service is not asked at all (a
    // printer object otherwise looks up the default printer as it is made).
    if (!pdf.empty()) LeavePrintServiceAlone();
    QPrinter printer(QPrinter::HighResolution);
    if (!pdf.empty()) {
        // The A4 page at 600 dpi that stands in for a printer, into a file.
        SetUpFallbackPrinter(printer, QFile::decodeName(pdf.c_str()));
    } else {
        const JobResult chosen = ChoosePrinter(printer, printerName, {});
        if (chosen.cancelled()) {
            Fail("Es ist kein Drucker eingerichtet; mit --pdf DATEI wird in eine PDF-Datei gedruckt (A4, 600 dpi).");
            return 1;
        }
        if (!chosen.ok()) {
            Fail(chosen.message);
            return 1;
        }
    }

    platform::QtFontEngine fonts;
    DesignPrintJob job;
    job.design = design.get();
    job.fonts = &fonts;
    job.firstSeed = seed >= 0 ? uint32_t(seed) : RandomInt::SeedFromTimeOfDay();
    job.settings.sheets = int(sheets);
    job.settings.poster = a.Has("--poster");
    job.settings.overlapCm = overlap;
    job.settings.previewFilters = !a.Has("--pixel-filters");
    job.screenPpi = kReferenceScreenPpi;
    job.zoomPercent = design->Paper.Zoom;
    job.title = QString::fromStdString(std::filesystem::path(a.operands[0]).filename().string());
    job.pdfFileName = pdf; // the bytes as given, not the name decoded for Qt
    if (ErrIsTerminal()) {
        job.progress = [](int sheet, int count, int done, int layers) {
            std::fprintf(Err(), "\r  Bogen %d von %d: Ebene %d von %d", sheet, count, done, layers);
            if (sheet == count && done == layers) std::fputc('\n', Err());
        };
    }
    const PosterCheck poster = CheckPosterJob(printer, job);
    if (!poster.refusal.empty()) {
        Fail(poster.refusal);
        return 1;
    }
    if (poster.pages > maxPages) {
        Fail("Der Ausdruck bräuchte " + std::to_string(poster.pages) + " Seiten, mehr als --max-pages erlaubt (" +
             std::to_string(maxPages) + "). Mit --max-pages " + std::to_string(poster.pages) +
             " wird er trotzdem gedruckt.");
        return 1;
    }
    const PrintOutcome outcome = PrintDesign(printer, job);
    if (!outcome.result.ok()) {
        Fail(outcome.result.message);
        return 1;
    }
    std::printf("%d Bogen auf %d %s an „%s“ gegeben (Startzustand %u).\n", outcome.sheetsPrinted,
                outcome.pagesPrinted, outcome.pagesPrinted == 1 ? "Seite" : "Seiten",
                printer.outputFormat() == QPrinter::PdfFormat ? platform::DisplayPath(pdf).c_str()
                                                              : printer.printerName().toUtf8().constData(),
                job.firstSeed);
    return 0;
}

} // namespace zb::cli
