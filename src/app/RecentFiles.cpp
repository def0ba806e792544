#include "app/RecentFiles.h"

#include <QFileInfo>
#include <QSettings>

#include "output/PicturePrinting.h"

namespace zb {

namespace {

const char* const kKey = "Zuletzt/Entwuerfe";

QSettings Settings() {
    return QSettings(QString::fromLatin1(kSettingsOrganisation), QString::fromLatin1(kSettingsApplication));
}

} // namespace

RecentFiles RecentFiles::Load() {
    RecentFiles recent;
    for (const QString& f : Settings().value(QString::fromLatin1(kKey)).toStringList())
        if (!f.isEmpty() && recent.files_.size() < kMaxFiles && !recent.files_.contains(f)) recent.files_ << f;
    return recent;
}

void RecentFiles::Save() const { Settings().setValue(QString::fromLatin1(kKey), files_); }

void RecentFiles::Add(const QString& file) {
    if (file.isEmpty()) return;
    files_.removeAll(file);
    files_.prepend(file);
    while (files_.size() > kMaxFiles) files_.removeLast();
}

QStringList RecentFiles::Existing() const {
    QStringList existing;
    for (const QString& f : files_)
        if (QFileInfo(f).isFile()) existing << f;
    return existing;
}

} // namespace zb
