#include "app/WindowTitle.h"

#include <QFileInfo>

namespace zb {

QString WindowTitle(const QString& savedFileName) {
    const QString part = savedFileName.isEmpty() ? QString::fromUtf8(kUnnamedDesign)
                                                 : QFileInfo(savedFileName).fileName();
    return QString::fromUtf8(kProductCaption) + QStringLiteral(" - [") + part + QStringLiteral("]");
}

QString SheetCaption(uint32_t number, bool held) {
    return QStringLiteral("Bogen Nr. %1").arg(number) + (held ? QStringLiteral(" (festgehalten)") : QString());
}

QString SheetCommandHint(uint32_t number, double zoom, int screenPpi) {
    return QStringLiteral("Derselbe Bogen: zierbogen render ENTWURF.zbg -o BOGEN.png --seed %1 --zoom %2 "
                          "--screen-dpi %3")
        .arg(number)
        .arg(zoom)
        .arg(screenPpi);
}

} // namespace zb
