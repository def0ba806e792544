#include "app/RecoveryCopy.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>

#include "workspace/DesignWorkspace.h"

namespace zb {

namespace {

constexpr const char* kPrefix = "wiederherstellung-";

} // namespace

RecoveryCopy::RecoveryCopy(QString folder) : folder_(std::move(folder)) {
    QDir().mkpath(folder_);
    lock_ = std::make_unique<QLockFile>(Own(".lock"));
    // A lock that cannot be taken leaves the copies unprotected, not the design.
    lock_->setStaleLockTime(0);
    lock_->tryLock(0);
}

RecoveryCopy::~RecoveryCopy() = default;

QString RecoveryCopy::Own(const char* suffix) const {
    return QDir(folder_).filePath(QString::fromLatin1(kPrefix) + QString::number(QCoreApplication::applicationPid()) +
                                  QString::fromLatin1(suffix));
}

std::string RecoveryCopy::Write(const DesignWorkspace& workspace) {
    const std::string message = workspace.SaveCopy(QFile::encodeName(Own(".zbg")).toStdString());
    if (!message.empty()) return message;
    QSaveFile name(Own(".name"));
    if (name.open(QIODevice::WriteOnly)) {
        name.write(QByteArray::fromStdString(workspace.FileName()));
        name.commit();
    }
    return {};
}

void RecoveryCopy::Remove() {
    QFile::remove(Own(".zbg"));
    QFile::remove(Own(".name"));
}

std::optional<RecoveryCopy::Leftover> RecoveryCopy::FindLeftover() const {
    const QDir dir(folder_);
    for (const QString& entry :
         dir.entryList({QString::fromLatin1(kPrefix) + QStringLiteral("*.zbg")}, QDir::Files, QDir::Time)) {
        const QString design = dir.filePath(entry);
        if (design == Own(".zbg")) continue;
        const QString base = design.left(design.size() - 4);
        // A copy is left over when no running program holds its lock.
        QLockFile lock(base + QStringLiteral(".lock"));
        if (!lock.tryLock(0)) continue;
        lock.unlock();
        QFile name(base + QStringLiteral(".name"));
        Leftover leftover{design, {}};
        if (name.open(QIODevice::ReadOnly)) leftover.fileName = QFile::decodeName(name.readAll());
        return leftover;
    }
    return std::nullopt;
}

void RecoveryCopy::Discard(const Leftover& leftover) {
    const QString base = leftover.design.left(leftover.design.size() - 4);
    QFile::remove(leftover.design);
    QFile::remove(base + QStringLiteral(".name"));
    QFile::remove(base + QStringLiteral(".lock"));
}

} // namespace zb
