#pragma once
// Asks the print service for the default printer's page on a thread of its
// own, so a print service that has stopped answering (frozen, overloaded)
// never freezes whoever needs the page: the caller waits only as long as it
// chooses and goes on with the page without printer otherwise.
//
// Ownership: the question's thread owns what it shares with the request; a
// request destroyed before the answer leaves the thread to finish (or hang)
// on its own.
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>

#include "output/PrinterPage.h"

namespace zb {

// How long a start waits for the print service before it goes on without printer.
inline constexpr std::chrono::milliseconds kPrintServiceTimeLimit{3000};
// Said where the print service did not answer in time.
inline constexpr const char* kPrintServiceSilent =
    "Der Druckdienst antwortet nicht; es gilt die A4-Seite ohne Drucker (600 dpi).";

class PrinterPageRequest {
public:
    // Starts asking at once.
    PrinterPageRequest();

    // The answer, when it comes within `limit` (0: only when it is there already).
    std::optional<PrinterPage> Wait(std::chrono::milliseconds limit);

private:
    struct Answer {
        std::mutex mutex;
        std::condition_variable ready;
        std::optional<PrinterPage> page;
    };
    std::shared_ptr<Answer> answer_;
};

// After the print service failed to answer in time: every later question of
// this process to it fails at once, so the program goes on as on a machine
// without printer instead of waiting at each printer look-up.
void LeavePrintServiceAlone();

} // namespace zb
