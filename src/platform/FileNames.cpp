#include "platform/FileNames.h"

#include <QFile>

namespace zb::platform {

std::string NativePath(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString DisplayName(const std::string& path) { return QString::fromUtf8(path.data(), qsizetype(path.size())); }

std::string DisplayPath(const std::string& path) { return DisplayName(path).toStdString(); }

} // namespace zb::platform
