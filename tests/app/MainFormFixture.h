#pragma once
// A main window on the offscreen platform whose message boxes and file
// dialogs are answered by the test, with a fixed printer page and seed.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProgressDialog>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QWindow>
#include <deque>
#include <memory>

#include "app/DialogProvider.h"
#include "app/TMainForm.h"
#include "output/PicturePrinting.h"

namespace zbtest {

class FakeDialogs : public zb::DialogProvider {
public:
    struct Shown {
        QString kind;    // "confirm", "error", "open", "save"
        QString caption;
        QString text;    // message text, or the dialog's filter
        QString folder;  // where a file dialog opened
        bool offersSave = false;
    };
    std::deque<bool> confirms;     // answers; none left: OK
    std::deque<zb::Answer> answers; // answered before `confirms` while any are left
    std::deque<QString> fileNames; // answers of the file dialogs; none left: cancel
    // Answers of the questions about several items; none left: every item chosen.
    std::deque<std::optional<std::vector<bool>>> picks;
    QStringList lastItems;
    std::vector<Shown> shown;

    int Count(const QString& kind) const {
        int n = 0;
        for (const Shown& s : shown) n += s.kind == kind;
        return n;
    }
    QString LastText(const QString& kind) const {
        for (auto it = shown.rbegin(); it != shown.rend(); ++it)
            if (it->kind == kind) return it->text;
        return {};
    }
    QString LastFolder(const QString& kind) const {
        for (auto it = shown.rbegin(); it != shown.rend(); ++it)
            if (it->kind == kind) return it->folder;
        return {};
    }
    QString LastCaption(const QString& kind) const {
        for (auto it = shown.rbegin(); it != shown.rend(); ++it)
            if (it->kind == kind) return it->caption;
        return {};
    }

    zb::Answer Ask(QWidget*, const QString& caption, const QString& text, bool offerSave) override {
        shown.push_back({"confirm", caption, text, {}, offerSave});
        if (!answers.empty()) {
            const zb::Answer answer = answers.front();
            answers.pop_front();
            return answer;
        }
        if (confirms.empty()) return zb::Answer::Ok;
        const bool answer = confirms.front();
        confirms.pop_front();
        return answer ? zb::Answer::Ok : zb::Answer::Cancel;
    }
    bool Choose(QWidget*, const QString& caption, const QString& text, const QString& yes, const QString&) override {
        shown.push_back({"choose", caption, text, yes, false});
        if (confirms.empty()) return true;
        const bool answer = confirms.front();
        confirms.pop_front();
        return answer;
    }
    std::optional<std::vector<bool>> ChooseItems(QWidget*, const QString& caption, const QString& text,
                                                 const QStringList& items, const QString&, const QString&,
                                                 const QString&) override {
        shown.push_back({"items", caption, text, {}, false});
        lastItems = items;
        if (picks.empty()) return std::vector<bool>(size_t(items.size()), true);
        auto answer = picks.front();
        picks.pop_front();
        return answer;
    }
    void Error(QWidget* parent, const QString& caption, const QString& text) override {
        shown.push_back({"error", caption, text, {}, false});
        errorsOverHiddenWindow += parent && !(parent->window()->windowHandle() &&
                                              parent->window()->windowHandle()->isExposed());
        // A progress dialog still there would cover the message box.
        for (QWidget* w : QApplication::allWidgets()) progressAtLastError += qobject_cast<QProgressDialog*>(w) != nullptr;
    }
    int errorsOverHiddenWindow = 0; // messages whose window was not on the screen yet
    int progressAtLastError = 0; // progress dialogs that existed when an error was shown
    QString OpenFileName(QWidget*, const QString& caption, const QString& filter, const QString& folder) override {
        shown.push_back({"open", caption, filter, folder, false});
        return NextName();
    }
    QString SaveFileName(QWidget*, const QString& caption, const QString& filter, const QString& suffix,
                         const QString& folder) override {
        shown.push_back({"save", caption, filter, folder, false});
        QString name = NextName();
        if (!name.isEmpty() && !name.contains('.')) name += '.' + suffix;
        return name;
    }

private:
    QString NextName() {
        if (fileNames.empty()) return {};
        QString name = fileNames.front();
        fileNames.pop_front();
        return name;
    }
};

class MainFormTest : public ::testing::Test {
protected:
    void SetUp() override { Make({}); }

    // The window every test starts with: the A4 stand-in page, a fixed seed,
    // every composition waited for so that each step sees its sheet.
    zb::TMainForm::Options TestOptions(QStringList arguments = {}) {
        zb::TMainForm::Options options;
        options.arguments = arguments;
        options.programFolder = QStringLiteral(ZB_BIN_DIR);
        options.dialogs = &dialogs;
        options.printer = zb::PrinterPage{zb::kFallbackPrintablePage, 600, true, {}};
        options.seed = 12345;
        options.composeWaitMs = -1;
        return options;
    }

    void Make(QStringList arguments) {
        form.reset();
        // What an earlier window of this program remembered stays out of this test.
        QSettings settings(QString::fromLatin1(zb::kSettingsOrganisation), QString::fromLatin1(zb::kSettingsApplication));
        settings.remove(QStringLiteral("Fenster"));
        settings.remove(QStringLiteral("Ordner"));
        settings.remove(QStringLiteral("Zuletzt"));
        dialogs = FakeDialogs();
        MakeWith(TestOptions(arguments));
    }

    // A window of other options (made after the present one is gone).
    void MakeWith(const zb::TMainForm::Options& options) {
        form.reset();
        form = std::make_unique<zb::TMainForm>(options);
        form->resize(900, 700);
    }

    template <class T>
    T* Find(const char* name) {
        T* w = form->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    void Click(const char* name) { Find<QAbstractButton>(name)->click(); }
    // Waits for the print or export running in the background; the window
    // then hears of its end (its message, if any).
    void FinishJob() {
        form->Workspace().Output().Wait();
        QCoreApplication::processEvents();
    }
    // Shows the window and lets what its start does once it is up run.
    void Show() {
        form->show();
        QElapsedTimer clock;
        clock.start();
        // The start waits for the screen to show the window, checking every 20 ms.
        while (clock.elapsed() < 2000 && !(form->windowHandle() && form->windowHandle()->isExposed()))
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        const qint64 up = clock.elapsed();
        while (clock.elapsed() < up + 60) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }

    QTreeWidget* List() { return Find<QTreeWidget>("ListView1"); }
    void SelectRow(int row) { List()->setCurrentItem(List()->topLevelItem(row)); }
    QStringList Rows() {
        QStringList rows;
        for (int i = 0; i < List()->topLevelItemCount(); ++i) rows << List()->topLevelItem(i)->text(0);
        return rows;
    }
    int SelectedRow() {
        const auto items = List()->selectedItems();
        return items.isEmpty() ? -1 : List()->indexOfTopLevelItem(items.first());
    }

    // Lets the edit timer fire (it is real: 500 ms after the last edit).
    void WaitForTimer() {
        QTimer* timer = form->findChild<QTimer*>(QStringLiteral("Timer1"));
        QElapsedTimer clock;
        clock.start();
        while (timer->isActive() && clock.elapsed() < 3000) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        ASSERT_FALSE(timer->isActive());
    }

    const zb::Design& D() { return form->Workspace().GetDesign(); }

    // The title as the window system shows it: Qt's "[*]" becomes "*" while
    // there are unsaved changes and disappears otherwise.
    QString Title() const {
        QString t = form->windowTitle();
        return t.replace(QStringLiteral("[*]"), form->isWindowModified() ? QStringLiteral("*") : QString());
    }

    QTemporaryDir dir;
    FakeDialogs dialogs;
    std::unique_ptr<zb::TMainForm> form;
};

} // namespace zbtest
