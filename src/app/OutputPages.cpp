#include "app/OutputPages.h"

#include <QElapsedTimer>
#include <QPrinter>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>
#include <memory>

#include "app/TMainForm.h"
#include "app/TPaperPage.h"
#include "app/TPrintPage.h"
#include "output/PrinterPageRequest.h"

namespace zb {

namespace {

// A print service that answers at all answers within this, and the window
// starts with its page as before.
constexpr std::chrono::milliseconds kMoment{200};

// Holds the application's printer for as long as the main window lives.
class PrinterHolder : public QObject {
public:
    explicit PrinterHolder(QObject* parent) : QObject(parent), printer(QPrinter::HighResolution) {}
    QPrinter printer;
};

void Fill(QWidget* container, QWidget* page) {
    auto* layout = new QVBoxLayout(container);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(page);
}

} // namespace

void InstallOutputPages(TMainForm& form) {
    auto* holder = new PrinterHolder(&form);
    holder->setObjectName(QStringLiteral("ApplicationPrinter"));
    Fill(form.PaperPage(), new TPaperPage(form, holder->printer));
    Fill(form.PrintPage(), new TPrintPage(form, holder->printer));
}

void InstallOutputPagesOnceThePrinterAnswers(TMainForm& form, const std::function<void()>& installed) {
    auto request = std::make_shared<PrinterPageRequest>();
    auto apply = [&form, installed](const PrinterPage& page) {
        form.Workspace().SetPrinter(PrinterFacts{page.page, page.fallback});
        InstallOutputPages(form);
        if (installed) installed();
    };
    if (const std::optional<PrinterPage> page = request->Wait(kMoment)) return apply(*page);
    auto* poll = new QTimer(&form);
    poll->setInterval(50);
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    QObject::connect(poll, &QTimer::timeout, &form, [&form, poll, request, clock, apply] {
        std::optional<PrinterPage> page = request->Wait(std::chrono::milliseconds(0));
        if (!page && clock->elapsed() + kMoment.count() < kPrintServiceTimeLimit.count()) return;
        poll->deleteLater();
        poll->stop();
        if (!page) {
            LeavePrintServiceAlone();
            form.statusBar()->showMessage(QString::fromUtf8(kPrintServiceSilent));
        }
        apply(page ? *page : FallbackPrinterPage());
    });
    poll->start();
}

} // namespace zb
