#include "output/PrinterPageRequest.h"

#include <cstdlib>
#include <exception>
#include <thread>

namespace zb {

PrinterPageRequest::PrinterPageRequest() : answer_(std::make_shared<Answer>()) {
    // Detached: a question the service never answers must not hold up the
    // program's end either.
    std::thread([answer = answer_] {
        PrinterPage page;
        try {
            page = DefaultPrinterPage();
        } catch (const std::exception&) {
            // Too little memory to ask (Qt's print support throws then): the
            // program goes on with the page it has without a printer.
            page = FallbackPrinterPage();
        }
        const std::lock_guard<std::mutex> lock(answer->mutex);
        answer->page = page;
        answer->ready.notify_all();
    }).detach();
}

std::optional<PrinterPage> PrinterPageRequest::Wait(std::chrono::milliseconds limit) {
    std::unique_lock<std::mutex> lock(answer_->mutex);
    answer_->ready.wait_for(lock, limit, [this] { return answer_->page.has_value(); });
    return answer_->page;
}

void LeavePrintServiceAlone() {
    // The print system's library takes its server from here when a thread
    // first asks; a socket that does not exist fails at once.
    ::setenv("CUPS_SERVER", "/nonexistent/zierbogen-kein-druckdienst.sock", 1);
}

} // namespace zb
