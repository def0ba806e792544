#include "app/OutputPages.h"

#include <QPrinter>
#include <QVBoxLayout>

#include "app/TMainForm.h"
#include "app/TPaperPage.h"
#include "app/TPrintPage.h"

namespace zb {

namespace {

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

} // namespace zb
