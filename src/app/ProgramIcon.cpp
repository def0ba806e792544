#include "app/ProgramIcon.h"

// The icon's resource lives in a static library; registering it here keeps
// the linker from dropping it. Q_INIT_RESOURCE must stand outside namespaces.
static void RegisterProgramIcon() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(programicon);
        return true;
    }();
    (void)registered;
}

namespace zb {

QIcon ProgramIcon() {
    RegisterProgramIcon();
    return QIcon(QStringLiteral(":/icons/zierbogen-drucker.svg"));
}

} // namespace zb
