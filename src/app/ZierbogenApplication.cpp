#include "app/ZierbogenApplication.h"

#include <QMessageBox>
#include <exception>
#include <new>

#include "app/WindowTitle.h"

namespace zb {

namespace {

std::function<void(const QString&)>& Reporter() {
    static std::function<void(const QString&)> reporter;
    return reporter;
}

} // namespace

ZierbogenApplication::ZierbogenApplication(int& argc, char** argv) : QApplication(argc, argv) {}

void ZierbogenApplication::SetErrorReporter(std::function<void(const QString&)> reporter) {
    Reporter() = std::move(reporter);
}

QString ZierbogenApplication::ErrorText(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::bad_alloc&) {
        return QString::fromUtf8("Nicht genug Speicher für diese Aktion. Die Aktion wurde abgebrochen.");
    } catch (const std::exception& e) {
        return QString::fromUtf8("Ein unerwarteter Fehler ist aufgetreten: ") + QString::fromLocal8Bit(e.what());
    } catch (...) {
        return QString::fromUtf8("Ein unerwarteter Fehler ist aufgetreten.");
    }
}

void ZierbogenApplication::Report(const QString& text) {
    if (Reporter()) {
        Reporter()(text);
        return;
    }
    QMessageBox::critical(activeWindow(), QString::fromUtf8(kApplicationTitle), text);
}

bool ZierbogenApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        Report(ErrorText(std::current_exception()));
        return false;
    }
}

} // namespace zb
