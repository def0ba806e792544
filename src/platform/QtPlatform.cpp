#include "platform/QtPlatform.h"

#include <QCoreApplication>
#include <string>

namespace zb::platform {

const char* ProgramDirectory() {
    static std::string dir;
    dir = QCoreApplication::applicationDirPath().toStdString();
    return dir.c_str();
}

} // namespace zb::platform
