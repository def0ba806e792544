#include "app/WindowTitle.h"

#include <QFileInfo>

namespace zb {

QString WindowTitle(const QString& savedFileName) {
    const QString part = savedFileName.isEmpty() ? QString::fromUtf8(kUnnamedDesign)
                                                 : QFileInfo(savedFileName).fileName();
    return QString::fromUtf8(kProductCaption) + QStringLiteral(" - [") + part + QStringLiteral("]");
}

} // namespace zb
