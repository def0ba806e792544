#include "app/DialogFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace zb {

QString DialogFolders::For(FileKind kind, const QString& designFile) const {
    const QString& last = last_[size_t(kind)];
    if (!last.isEmpty() && QDir(last).exists()) return last;
    if (!designFile.isEmpty()) return QFileInfo(designFile).absolutePath();
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir(documents).exists() ? documents : QDir::homePath();
}

void DialogFolders::Remember(FileKind kind, const QString& file) {
    if (!file.isEmpty()) last_[size_t(kind)] = QFileInfo(file).absolutePath();
}

} // namespace zb
