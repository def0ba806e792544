#include "output/CupsJob.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrintEngine>
#include <QPrinter>
#include <QStringList>
#include <chrono>
#include <ctime>
#include <thread>
#include <dlfcn.h>
#include <utility>
#include <vector>

namespace zb {

namespace {

// The few types of the print system's library this file uses, in the
// library's binary layout (stable across its 2.x versions).
struct CupsOption {
    char* name;
    char* value;
};
struct CupsDest {
    char* name;
    char* instance;
    int isDefault;
    int optionCount;
    CupsOption* options;
};
struct CupsJobInfo {
    int id;
    char* dest;
    char* title;
    char* user;
    char* format;
    int state;
    int size;
    int priority;
    time_t completedTime;
    time_t creationTime;
    time_t processingTime;
};
constexpr int kJobPending = 3;
constexpr int kJobProcessing = 5;
constexpr int kJobCanceled = 7;
constexpr int kJobAborted = 8;
// How long a job is followed while it waits or prints; one still on its way
// after that counts as handed over.
constexpr std::chrono::seconds kFollowLimit{60};
constexpr int kAllJobs = -1;

// The print dialog's own choices travel on the print engine under this key,
// as pairs of option name and value.
constexpr auto kDialogOptionsKey = QPrintEngine::PrintEnginePropertyKey(0xfe00);

struct CupsLibrary {
    int (*printFile)(const char*, const char*, const char*, int, CupsOption*) = nullptr;
    const char* (*lastErrorString)() = nullptr;
    int (*lastError)() = nullptr; // optional
    int (*getJobs)(CupsJobInfo**, const char*, int, int) = nullptr;
    void (*freeJobs)(int, CupsJobInfo*) = nullptr;
    CupsDest* (*getNamedDest)(void*, const char*, const char*) = nullptr;
    const char* (*getOption)(const char*, int, CupsOption*) = nullptr;
    void (*freeDests)(int, CupsDest*) = nullptr;

    bool Usable() const {
        return printFile && lastErrorString && getJobs && freeJobs && getNamedDest && getOption && freeDests;
    }
};

template <typename F>
void Find(void* handle, const char* name, F& out) {
    out = reinterpret_cast<F>(::dlsym(handle, name));
}

const CupsLibrary& Library() {
    static const CupsLibrary library = [] {
        CupsLibrary l;
        void* handle = ::dlopen("libcups.so.2", RTLD_NOW | RTLD_GLOBAL);
        if (!handle) return l;
        Find(handle, "cupsPrintFile", l.printFile);
        Find(handle, "cupsLastErrorString", l.lastErrorString);
        Find(handle, "cupsLastError", l.lastError);
        Find(handle, "cupsGetJobs", l.getJobs);
        Find(handle, "cupsFreeJobs", l.freeJobs);
        Find(handle, "cupsGetNamedDest", l.getNamedDest);
        Find(handle, "cupsGetOption", l.getOption);
        Find(handle, "cupsFreeDests", l.freeDests);
        return l;
    }();
    return library;
}

std::string Quoted(const QString& s) { return "„" + s.toStdString() + "“"; }

// The print system's own texts often end in a full stop already.
std::string EndedWithStop(std::string text) {
    while (!text.empty() && text.back() == ' ') text.pop_back();
    if (text.empty() || (text.back() != '.' && text.back() != '!' && text.back() != '?')) text += '.';
    return text;
}

// The printer's own account of its state ("Filter failed", "offline"), or
// empty when it has none or cannot be asked.
std::string PrinterStateMessage(const CupsLibrary& cups, const QByteArray& printer) {
    CupsDest* dest = cups.getNamedDest(nullptr, printer.constData(), nullptr);
    if (!dest) return {};
    const char* message = cups.getOption("printer-state-message", dest->optionCount, dest->options);
    std::string text = message ? message : "";
    cups.freeDests(1, dest);
    return text;
}

// The job's state right after it was taken; 0 when it is not listed.
int JobState(const CupsLibrary& cups, const QByteArray& printer, int id) {
    CupsJobInfo* jobs = nullptr;
    const int count = cups.getJobs(&jobs, printer.constData(), 1, kAllJobs);
    int state = 0;
    for (int i = 0; i < count; ++i)
        if (jobs[i].id == id) state = jobs[i].state;
    if (count > 0) cups.freeJobs(count, jobs);
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
    const CupsLibrary& cups = Library();
    if (!cups.Usable()) return failed + ": Das Drucksystem ist nicht verfügbar.";
    // The queue's name without an instance ("Drucker/Kopie").
    const QByteArray queue = printer.printerName().section(u'/', 0, 0).toLocal8Bit();
    auto options = JobOptions(printer);
    std::vector<CupsOption> list;
    for (auto& [name, value] : options) list.push_back({name.data(), value.data()});
    const int id = cups.printFile(queue.constData(), pdfPath.c_str(), title.toLocal8Bit().constData(), int(list.size()),
                                  list.empty() ? nullptr : list.data());
    std::string reason;
    const bool refused = id <= 0;
    if (refused) {
        const char* error = cups.lastErrorString();
        // The print service could not be reached at all (stopped, gone): the
        // library reports the failed connection as its own internal error.
        constexpr int kInternalError = 0x0500, kServiceUnavailable = 0x0503;
        const int code = cups.lastError ? cups.lastError() : 0;
        if (code == kInternalError || code == kServiceUnavailable)
            reason = "Der Druckdienst ist nicht erreichbar (" + std::string(error && *error ? error : "keine Antwort") + ")";
        else reason = error && *error ? error : "Der Drucker hat den Auftrag nicht angenommen";
    } else {
        // A backend may still give up on a job it took: it counts as printed
        // only once it has ended well (or is still on its way at the limit).
        const auto until = std::chrono::steady_clock::now() + kFollowLimit;
        int state = JobState(cups, queue, id);
        while ((state == kJobPending || state == kJobProcessing) && std::chrono::steady_clock::now() < until) {
            std::this_thread::sleep_for(std::chrono::milliseconds(250));
            state = JobState(cups, queue, id);
        }
        if (state == kJobAborted || state == kJobCanceled) reason = "Der Auftrag wurde vom Drucksystem abgebrochen";
    }
    if (reason.empty()) return {};
    std::string message = EndedWithStop(failed + ": " + reason);
    if (const std::string state = PrinterStateMessage(cups, queue); !state.empty())
        message += " Meldung des Druckers: " + EndedWithStop(state);
    return refused ? message + " Es wurde nichts gedruckt." : message;
}

} // namespace zb
