#include "app/RecoveryCopy.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <chrono>

#include "document/SafeFileWriter.h"

namespace zb {

namespace {

constexpr const char* kPrefix = "wiederherstellung-";
// A half-written file younger than this may belong to a writer that has not
// locked it yet.
constexpr qint64 kStaleSeconds = 10;

std::string Local(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString Base(const QString& design) { return design.left(design.size() - 4); }

// Removes `path` when it is a regular file nobody holds a lock on.
void RemoveUnlocked(const QString& path) {
    platform::FileLock lock;
    if (lock.TryLock(Local(path), false)) lock.RemoveFile();
}

} // namespace

RecoveryCopy::RecoveryCopy(QString folder) : folder_(std::move(folder)) {
    QDir().mkpath(folder_);
    const QString stamp = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"));
    const QString pid = QString::number(QCoreApplication::applicationPid());
    for (int n = 0; n < 100; ++n) {
        const QString base = QDir(folder_).filePath(QString::fromLatin1(kPrefix) + stamp + QLatin1Char('-') + pid +
                                                    (n ? QLatin1Char('-') + QString::number(n) : QString()));
        if (QFileInfo::exists(base + QStringLiteral(".lock")) || QFileInfo::exists(base + QStringLiteral(".zbg")))
            continue;
        base_ = base;
        // A lock that cannot be taken leaves the copy unprotected, not the design.
        lock_.TryLock(Local(base + QStringLiteral(".lock")), true);
        break;
    }
}

RecoveryCopy::~RecoveryCopy() {
    if (!QFileInfo::exists(CopyPath())) lock_.RemoveFile();
}

FileResult RecoveryCopy::Write(const Design& design, const std::string& fileName) {
    FileResult result = savefile(design, Local(CopyPath()));
    if (!result) return result;
    // The name is a convenience of the question; a copy without it is still offered.
    SafeFileWriter name(Local(base_ + QStringLiteral(".name")));
    if (name.Begin()) {
        if (name.Sink().Write(fileName.data(), fileName.size())) name.Commit(false);
    }
    return result;
}

void RecoveryCopy::Remove() {
    QFile::remove(CopyPath());
    QFile::remove(base_ + QStringLiteral(".name"));
}

std::vector<RecoveryCopy::Leftover> RecoveryCopy::FindLeftovers() const {
    const QDir dir(folder_);
    const QString prefix = QString::fromLatin1(kPrefix);
    const QDateTime now = QDateTime::currentDateTimeUtc();
    // What a killed writer left half written.
    for (const QString& entry : dir.entryList({QLatin1Char('.') + prefix + QStringLiteral("*.tmp-*")},
                                              QDir::Files | QDir::Hidden | QDir::System)) {
        const QString path = dir.filePath(entry);
        if (QFileInfo(path).lastModified().secsTo(now) > kStaleSeconds) RemoveUnlocked(path);
    }
    std::vector<Leftover> found;
    for (const QString& entry : dir.entryList({prefix + QStringLiteral("*.zbg")}, QDir::Files, QDir::Time)) {
        const QString design = dir.filePath(entry);
        const QFileInfo info(design);
        if (Base(design) == base_ || info.isSymLink() || !info.isFile()) continue;
        auto lock = std::make_shared<platform::FileLock>();
        // A copy is left over when no running program holds its lock.
        if (!lock->TryLock(Local(Base(design) + QStringLiteral(".lock")), true)) continue;
        Leftover leftover{design, {}, info.lastModified(), lock};
        std::string name;
        if (platform::ReadRegularFile(Local(Base(design) + QStringLiteral(".name")), 4096, name))
            leftover.fileName = QFile::decodeName(QByteArray::fromStdString(name));
        found.push_back(std::move(leftover));
    }
    // Lock files of programs that ended before they wrote a copy.
    for (const QString& entry : dir.entryList({prefix + QStringLiteral("*.lock")}, QDir::Files)) {
        const QString lock = dir.filePath(entry);
        const QString base = lock.left(lock.size() - 5);
        if (base != base_ && !QFileInfo::exists(base + QStringLiteral(".zbg"))) RemoveUnlocked(lock);
    }
    return found;
}

void RecoveryCopy::TakeOver(const Leftover& leftover) {
    Remove();
    lock_.RemoveFile();
    base_ = Base(leftover.design);
    lock_ = std::move(*leftover.lock);
}

void RecoveryCopy::Discard(const Leftover& leftover) {
    const QString base = Base(leftover.design);
    QFile::remove(leftover.design);
    QFile::remove(base + QStringLiteral(".name"));
    leftover.lock->RemoveFile();
}

} // namespace zb
