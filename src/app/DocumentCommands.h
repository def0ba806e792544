#pragma once
// The window's file commands: "Neu", "Öffnen..." (and the designs used last,
// and designs dropped on the window), "Speichern", "Speichern unter...", the
// questions before a design is replaced or the program ends, and the recovery
// copy of unsaved changes with its offer at the next start.
//
// Ownership: owns the list of recent designs, the recovery copy and its
// writer (its destructor waits for a write under way); borrows
// the window, the workspace, the dialogs and the dialog folders, which the
// main window owns and keeps alive as long as these commands.
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <string>

#include "app/RecentFiles.h"
#include "app/RecoveryCopy.h"
#include "app/RecoveryWriter.h"

class QMenu;
class QTimer;
class QWidget;

class QMimeData;

namespace zb {

class DesignWorkspace;
class DialogFolders;
class DialogProvider;

class DocumentCommands : public QObject {
    Q_OBJECT
public:
    struct Window {
        QWidget* parent = nullptr;                       // of the dialogs
        std::function<void()> paint;                     // shows a new design
        std::function<void(const std::string&)> error;   // a message box
        // A passing message, and its whole text where that is longer.
        std::function<void(const QString& text, const QString& whole)> status;
        std::function<QString()> savedFileName;          // the design's file as the title names it
        // Restores a further recovery copy in a window of its own.
        std::function<void(const RecoveryCopy::Leftover&)> restoreElsewhere;
    };
    // `autosaveMs`: how often the recovery copy of unsaved changes is written.
    DocumentCommands(DesignWorkspace& workspace, DialogProvider& dialogs, DialogFolders& folders, Window window,
                     int autosaveMs);
    ~DocumentCommands() override;

    void New();
    void Open();
    // Opens `file` (a recent or dropped design) after the usual question.
    void OpenAfterQuestion(const QString& file);
    // The design file a drop carries (the first URL, a local .zbg), or empty.
    static QString DroppedDesign(const QMimeData* data);
    bool OpenFile(const QString& name);
    // "Neu aus Vorlage...": after the usual question, `file` becomes a new,
    // untitled design.
    void NewFromTemplate(const QString& file);
    bool Save();
    bool SaveAs();
    bool SaveFile(const QString& name);
    // The question before the design is replaced or the program ends; with
    // unsaved changes it offers "Speichern" as well: saved first, then the
    // action goes on; a failed or cancelled save stops it.
    bool MayDiscard(const QString& caption, const QString& text);
    // Fills the drop-down of "Öffnen..." with the recent designs that exist.
    void FillRecentMenu(QMenu* menu);
    // At the first showing: offers every copy that programs which ended
    // without cleaning up left, in one question. The first chosen one is
    // restored here, every further one in a window of its own; true when
    // one was restored here.
    bool OfferRecovery();
    // Restores a leftover copy into this window; the copy becomes this
    // program's own and is written again at once. False (said) when it
    // cannot be read: the copy then stays for another try.
    bool Restore(const RecoveryCopy::Leftover& leftover);
    // The line of the question that names a copy: the design's file (or
    // "Unbenannt") and when it was written.
    static QString LeftoverCaption(const QString& fileName, const QDateTime& written);
    // The design has no unsaved changes any more (saved, undone): the copy goes.
    void DocumentChanged();
    // The program ends cleanly: no copy is left (a write under way is waited for).
    void CleanExit();

private:
    // Writes the recovery copy of unsaved changes in the background, from a
    // snapshot of the design as it is now.
    void Autosave();
    void SayCopyFailed(const FileResult& result);
    // After opening or saving `name`: says the failure, or notes the design as used last.
    bool Done(const std::string& message, const QString& name);

    DesignWorkspace& workspace_;
    DialogProvider& dialogs_;
    DialogFolders& folders_;
    Window window_;
    RecentFiles recent_ = RecentFiles::Load();
    std::unique_ptr<RecoveryCopy> recovery_;
    // Declared after the copy it writes, so that it goes first.
    std::unique_ptr<RecoveryWriter> writer_;
    QTimer* autosave_ = nullptr;
};

} // namespace zb
