#pragma once
// The window program's application object. An exception that escapes an
// event handler (a runtime failure nobody caught: out of memory, a failed
// read) ends up here instead of terminating the program: it is shown in an
// error box titled "Zierbogen-Drucker" and the program goes on.
#include <QApplication>
#include <functional>

namespace zb {

class ZierbogenApplication : public QApplication {
    Q_OBJECT
public:
    ZierbogenApplication(int& argc, char** argv);

    // Shows the text of an escaped error; tests replace it. Empty: the error box.
    static void SetErrorReporter(std::function<void(const QString&)> reporter);
    // The German text an escaped exception is shown with.
    static QString ErrorText(const std::exception_ptr& error);

    bool notify(QObject* receiver, QEvent* event) override;

private:
    static void Report(const QString& text);
};

} // namespace zb
