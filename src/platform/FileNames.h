#pragma once
// File names stay bytes, as the file system holds them, from the command line
// or the texture folder down to open() and rename(). Qt 6 decodes file names
// as UTF-8 and cannot give back bytes that are not (a Latin-1 "ü"), so files
// are opened by the core and handed to Qt as open devices; only names the user
// picked in a Qt dialog come in through NativePath, and messages show names
// through DisplayPath.
#include <QString>
#include <string>

namespace zb::platform {

// A name from a Qt dialog or widget as the file functions take it
// (QFile::encodeName).
std::string NativePath(const QString& path);
// A path for a German message: as given, with bytes that are not UTF-8 shown
// as replacement characters.
std::string DisplayPath(const std::string& path);
// The same as a QString, for the window.
QString DisplayName(const std::string& path);

} // namespace zb::platform
