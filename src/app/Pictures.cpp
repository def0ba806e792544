#include "app/Pictures.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QSvgRenderer>

#include <cmath>

// The pictures are compiled into a static library: naming their initialiser
// here registers them and keeps the linker from dropping them.
static void RegisterPictures() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(pictures);
        return true;
    }();
    (void)registered;
}

namespace zb {

namespace {

QString PicturePath(const QString& name) {
    RegisterPictures();
    return QStringLiteral(":/pictures/") + name + QStringLiteral(".svg");
}

} // namespace

QPixmap LoadPicture(const QString& name, QSize logicalSize, qreal devicePixelRatio) {
    if (logicalSize.isEmpty() || !(devicePixelRatio > 0)) return QPixmap();
    const QString path = PicturePath(name);
    if (!QFile::exists(path)) return QPixmap();
    QSvgRenderer renderer(path);
    if (!renderer.isValid()) return QPixmap();
    const QSize pixels(static_cast<int>(std::ceil(logicalSize.width() * devicePixelRatio)),
                       static_cast<int>(std::ceil(logicalSize.height() * devicePixelRatio)));
    QPixmap pixmap(pixels);
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(pixels)));
    }
    pixmap.setDevicePixelRatio(devicePixelRatio);
    return pixmap;
}

QIcon LoadIcon(const QString& name) {
    const QString path = PicturePath(name);
    if (!QFile::exists(path)) return QIcon();
    // Qt's SVG icon engine renders the file at each requested size and ratio.
    return QIcon(path);
}

QStringList PictureNames() {
    RegisterPictures();
    QStringList names;
    const QStringList files = QDir(QStringLiteral(":/pictures")).entryList({QStringLiteral("*.svg")}, QDir::Files);
    for (const QString& file : files) names << file.chopped(4);
    names.sort();
    return names;
}

} // namespace zb
