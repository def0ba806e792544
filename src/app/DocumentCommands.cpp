#include "app/DocumentCommands.h"

#include <QMimeData>
#include <QUrl>

#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QStandardPaths>
#include <QTimer>

#include "app/DialogFolders.h"
#include "app/DialogProvider.h"
#include "app/RecoveryCopy.h"
#include "workspace/DesignWorkspace.h"

namespace zb {

namespace {

const char* const kDesignFilter = "Zierbogen-Drucker-Dateien (*.zbg);;Alle Dateien (*.*)";
const char* const kLoseUnsaved = "Hiermit gehen alle nicht gespeicherten Informationen verloren.";

std::string LocalName(const QString& name) { return QFile::encodeName(name).toStdString(); }

} // namespace

DocumentCommands::DocumentCommands(DesignWorkspace& workspace, DialogProvider& dialogs, DialogFolders& folders,
                                   Window window, int autosaveMs)
    : workspace_(workspace), dialogs_(dialogs), folders_(folders), window_(std::move(window)),
      recovery_(std::make_unique<RecoveryCopy>(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation))) {
    // A failure comes from the pool's thread; it is said on the window's.
    writer_ = std::make_unique<RecoveryWriter>(*recovery_, [this](const FileResult& result) {
        QMetaObject::invokeMethod(this, [this, result] { SayCopyFailed(result); }, Qt::QueuedConnection);
    });
    autosave_ = new QTimer(this);
    autosave_->setInterval(autosaveMs);
    connect(autosave_, &QTimer::timeout, this, &DocumentCommands::Autosave);
    autosave_->start();
}

DocumentCommands::~DocumentCommands() { writer_->Wait(); }

bool DocumentCommands::MayDiscard(const QString& caption, const QString& text) {
    // A print or export goes on with the design as it was when it started;
    // the user may stop it instead.
    OutputJob& job = workspace_.Output();
    if (job.Running() &&
        dialogs_.Choose(window_.parent, caption,
                        QString::fromUtf8("Ein Druck oder Export läuft noch. Er schreibt den Entwurf, wie er beim "
                                          "Start war, auch wenn ein anderer geöffnet wird. Soll er abgebrochen "
                                          "werden?"),
                        QString::fromUtf8("Abbrechen"), QString::fromUtf8("Weiterlaufen lassen"))) {
        job.Cancel();
        job.Wait();
    }
    switch (dialogs_.Ask(window_.parent, caption, text, workspace_.Modified())) {
    case Answer::Ok: return true;
    case Answer::Save: return Save();
    case Answer::Cancel: break;
    }
    return false;
}

void DocumentCommands::New() {
    if (!MayDiscard(QStringLiteral("Datei/Neu"), QString::fromUtf8(kLoseUnsaved))) return;
    workspace_.New();
    window_.paint();
}

void DocumentCommands::Open() {
    if (!MayDiscard(QString::fromUtf8("Datei/Öffnen"), QString::fromUtf8(kLoseUnsaved))) return;
    const QString name = dialogs_.OpenFileName(window_.parent, QString::fromUtf8("Öffnen"),
                                               QString::fromUtf8(kDesignFilter),
                                               folders_.For(FileKind::Design, window_.savedFileName()));
    if (name.isEmpty()) return;
    folders_.Remember(FileKind::Design, name);
    OpenFile(name);
}

QString DocumentCommands::DroppedDesign(const QMimeData* data) {
    if (!data || !data->hasUrls() || data->urls().isEmpty()) return {};
    const QUrl url = data->urls().first();
    const QString file = url.isLocalFile() ? url.toLocalFile() : QString();
    return file.endsWith(QStringLiteral(".zbg"), Qt::CaseInsensitive) ? file : QString();
}

void DocumentCommands::OpenAfterQuestion(const QString& file) {
    if (MayDiscard(QString::fromUtf8("Datei/Öffnen"), QString::fromUtf8(kLoseUnsaved))) OpenFile(file);
}

void DocumentCommands::NewFromTemplate(const QString& file) {
    if (!MayDiscard(QStringLiteral("Datei/Neu aus Vorlage"), QString::fromUtf8(kLoseUnsaved))) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const std::string message = workspace_.OpenAsNew(LocalName(QFileInfo(file).absoluteFilePath()));
    QApplication::restoreOverrideCursor();
    if (!message.empty()) {
        window_.error("Die Vorlage " + QFileInfo(file).fileName().toStdString() + " lässt sich nicht öffnen. " +
                      message);
        return;
    }
    window_.paint();
}

bool DocumentCommands::OpenFile(const QString& name) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const std::string message = workspace_.Open(LocalName(QFileInfo(name).absoluteFilePath()));
    QApplication::restoreOverrideCursor();
    if (!Done(message, name)) return false;
    window_.paint();
    return true;
}

bool DocumentCommands::Done(const std::string& message, const QString& name) {
    if (!message.empty()) {
        window_.error(message);
        return false;
    }
    recent_.Add(QFileInfo(name).absoluteFilePath());
    recent_.Save();
    return true;
}

bool DocumentCommands::Save() {
    const QString saved = window_.savedFileName();
    return saved.isEmpty() ? SaveAs() : SaveFile(saved);
}

bool DocumentCommands::SaveAs() {
    const QString name = dialogs_.SaveFileName(window_.parent, QStringLiteral("Speichern unter"),
                                               QString::fromUtf8(kDesignFilter), QStringLiteral("zbg"),
                                               folders_.For(FileKind::Design, window_.savedFileName()));
    if (name.isEmpty()) return false;
    folders_.Remember(FileKind::Design, name);
    return SaveFile(name);
}

bool DocumentCommands::SaveFile(const QString& name) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const std::string message = workspace_.Save(LocalName(QFileInfo(name).absoluteFilePath()));
    QApplication::restoreOverrideCursor();
    return Done(message, name);
}

void DocumentCommands::FillRecentMenu(QMenu* menu) {
    menu->clear();
    const QStringList files = recent_.Existing();
    for (const QString& file : files)
        menu->addAction(QFileInfo(file).fileName(), this, [this, file] { OpenAfterQuestion(file); })->setToolTip(file);
    if (files.isEmpty()) menu->addAction(QString::fromUtf8("(keine zuletzt benutzten Entwürfe)"))->setEnabled(false);
}

void DocumentCommands::Autosave() {
    if (!workspace_.Modified()) return;
    writer_->Write(workspace_.Snapshot(), workspace_.FileName());
}

void DocumentCommands::SayCopyFailed(const FileResult& result) {
    // Said in the status bar, the reason first (the bar cuts long texts; the
    // whole message is its tooltip): a box every two minutes would be worse than none.
    window_.status(QString::fromUtf8("Sicherungskopie nicht geschrieben: ") + QString::fromStdString(result.Reason) +
                       QLatin1Char('.'),
                   QString::fromStdString(result.Message));
}

QString DocumentCommands::LeftoverCaption(const QString& fileName, const QDateTime& written) {
    const QString name = fileName.isEmpty() ? QStringLiteral("Unbenannt") : QFileInfo(fileName).fileName();
    const QDateTime local = written.toLocalTime();
    return QString::fromUtf8("%1, gesichert am %2 um %3 Uhr")
        .arg(name, local.toString(QStringLiteral("dd.MM.yyyy")), local.toString(QStringLiteral("HH:mm:ss")));
}

bool DocumentCommands::OfferRecovery() {
    const std::vector<RecoveryCopy::Leftover> leftovers = recovery_->FindLeftovers();
    if (leftovers.empty()) return false;
    QStringList items;
    for (const RecoveryCopy::Leftover& leftover : leftovers)
        items << LeftoverCaption(leftover.fileName, leftover.written);
    const std::optional<std::vector<bool>> chosen = dialogs_.ChooseItems(
        window_.parent, QStringLiteral("Wiederherstellung"),
        QString::fromUtf8("Das Programm wurde beim letzten Mal nicht ordnungsgemäß beendet. Diese Entwürfe haben "
                          "nicht gespeicherte Änderungen. Die angekreuzten werden wiederhergestellt, jeder in "
                          "einem eigenen Fenster; die übrigen werden verworfen."),
        items, QStringLiteral("Wiederherstellen"), QStringLiteral("Alle verwerfen"),
        QString::fromUtf8("Später entscheiden"));
    // Later: every copy stays and is offered again at the next start.
    if (!chosen) return false;
    bool restoredHere = false;
    for (size_t i = 0; i < leftovers.size(); ++i) {
        if (!(*chosen)[i]) RecoveryCopy::Discard(leftovers[i]);
        else if (!restoredHere) restoredHere = Restore(leftovers[i]);
        else if (window_.restoreElsewhere) window_.restoreElsewhere(leftovers[i]);
    }
    return restoredHere;
}

bool DocumentCommands::Restore(const RecoveryCopy::Leftover& leftover) {
    const std::string message = workspace_.Recover(LocalName(leftover.design), LocalName(leftover.fileName));
    // A copy that cannot be read is kept for the user to look at.
    if (!message.empty()) {
        window_.error(message);
        return false;
    }
    // The copy stays this program's own until the design is saved or its
    // changes are discarded, and is written anew at once: a crash right
    // after the restore loses nothing.
    writer_->Wait();
    recovery_->TakeOver(leftover);
    Autosave();
    window_.paint();
    return true;
}

void DocumentCommands::DocumentChanged() {
    if (!workspace_.Modified()) writer_->Remove();
}

void DocumentCommands::CleanExit() {
    writer_->Remove();
    writer_->Wait();
}

} // namespace zb
