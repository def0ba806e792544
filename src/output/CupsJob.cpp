#include "output/CupsJob.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrintEngine>
#include <QPrinter>
#include <QStringList>
#include <chrono>
#include <thread>
#include <cups/cups.h>
#include <utility>
#include <vector>

namespace zb {

namespace {

// How long a job is followed while it waits or prints; one still on its way
// after that counts as handed over.
constexpr std::chrono::seconds kFollowLimit{60};

// The print dialog's own choices travel on the print engine under this key,
// as pairs of option name and value.
constexpr auto kDialogOptionsKey = QPrintEngine::PrintEnginePropertyKey(0xfe00);

std::string Quoted(const QString& s) { return "„" + s.toStdString() + "“"; }

// The print system's own texts often end in a full stop already.
std::string EndedWithStop(std::string text) {
    while (!text.empty() && text.back() == ' ') text.pop_back();
    if (text.empty() || (text.back() != '.' && text.back() != '!' && text.back() != '?')) text += '.';
    return text;
}

// The printer's own account of its state ("Filter failed", "offline"), or
// empty when it has none or cannot be asked.
std::string PrinterStateMessage(const QByteArray& printer) {
    cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, printer.constData(), nullptr);
    if (!dest) return {};
    const char* message = cupsGetOption("printer-state-message", dest->num_options, dest->options);
    std::string text = message ? message : "";
    cupsFreeDests(1, dest);
    return text;
}

// The job's state right after it was taken; 0 when it is not listed.
int JobState(const QByteArray& printer, int id) {
    cups_job_t* jobs = nullptr;
    const int count = cupsGetJobs(&jobs, printer.constData(), 1, CUPS_WHICHJOBS_ALL);
    int state = 0;
    for (int i = 0; i < count; ++i)
        if (jobs[i].id == id) state = jobs[i].state;
    if (count > 0) cupsFreeJobs(count, jobs);
    return state;
}

// The options Qt's own print path sends along, from the printer's settings.
std::vector<std::pair<QByteArray, QByteArray>> JobOptions(const QPrinter& printer) {
    std::vector<std::pair<QByteArray, QByteArray>> options;
    const QPageLayout layout = printer.pageLayout();
    options.emplace_back("media", layout.pageSize().key().toLocal8Bit());
    const int copies = printer.copyCount();
    if (copies > 1) options.emplace_back("copies", QByteArray::number(copies));
    if (copies > 1 && printer.collateCopies()) options.emplace_back("Collate", "True");
    const bool portrait = layout.orientation() == QPageLayout::Portrait;
    switch (printer.duplex()) {
    case QPrinter::DuplexNone: options.emplace_back("sides", "one-sided"); break;
    case QPrinter::DuplexAuto:
        options.emplace_back("sides", portrait ? "two-sided-long-edge" : "two-sided-short-edge");
        break;
    case QPrinter::DuplexLongSide: options.emplace_back("sides", "two-sided-long-edge"); break;
    case QPrinter::DuplexShortSide: options.emplace_back("sides", "two-sided-short-edge"); break;
    }
    if (!portrait) options.emplace_back("landscape", "");
    if (printer.colorMode() == QPrinter::GrayScale) options.emplace_back("print-color-mode", "monochrome");
    const QStringList chosen = printer.printEngine()->property(kDialogOptionsKey).toStringList();
    for (qsizetype i = 0; i + 1 < chosen.size(); i += 2)
        options.emplace_back(chosen[i].toLocal8Bit(), chosen[i + 1].toLocal8Bit());
    return options;
}

} // namespace

std::string SubmitPdfJob(const QPrinter& printer, const std::string& pdfPath, const QString& title) {
    const std::string failed = "Der Druckauftrag für den Drucker " + Quoted(printer.printerName()) +
                               " konnte nicht ausgeführt werden";
    // The queue's name without an instance ("Drucker/Kopie").
    const QByteArray queue = printer.printerName().section(u'/', 0, 0).toLocal8Bit();
    auto options = JobOptions(printer);
    std::vector<cups_option_t> list;
    for (auto& [name, value] : options) list.push_back({name.data(), value.data()});
    const int id = cupsPrintFile(queue.constData(), pdfPath.c_str(), title.toLocal8Bit().constData(), int(list.size()),
                                 list.empty() ? nullptr : list.data());
    std::string reason;
    const bool refused = id <= 0;
    if (refused) {
        const char* error = cupsLastErrorString();
        // The print service could not be reached at all (stopped, gone): the
        // library reports the failed connection as its own internal error.
        const ipp_status_t code = cupsLastError();
        if (code == IPP_STATUS_ERROR_INTERNAL || code == IPP_STATUS_ERROR_SERVICE_UNAVAILABLE)
            reason = "Der Druckdienst ist nicht erreichbar (" + std::string(error && *error ? error : "keine Antwort") + ")";
        else reason = error && *error ? error : "Der Drucker hat den Auftrag nicht angenommen";
    } else {
        // A backend may still give up on a job it took: it counts as printed
        // only once it has ended well (or is still on its way at the limit).
        const auto until = std::chrono::steady_clock::now() + kFollowLimit;
        int state = JobState(queue, id);
        while ((state == IPP_JSTATE_PENDING || state == IPP_JSTATE_PROCESSING) &&
               std::chrono::steady_clock::now() < until) {
            std::this_thread::sleep_for(std::chrono::milliseconds(250));
            state = JobState(queue, id);
        }
        if (state == IPP_JSTATE_ABORTED || state == IPP_JSTATE_CANCELED) reason = "Der Auftrag wurde vom Drucksystem abgebrochen";
    }
    if (reason.empty()) return {};
    std::string message = EndedWithStop(failed + ": " + reason);
    if (const std::string state = PrinterStateMessage(queue); !state.empty())
        message += " Meldung des Druckers: " + EndedWithStop(state);
    return refused ? message + " Es wurde nichts gedruckt." : message;
}

} // namespace zb
