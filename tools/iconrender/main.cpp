// zb-iconrender: draws an SVG icon into the PNG sizes of an icon theme.
//   zb-iconrender ICON.svg THEMEDIR CONTEXT NAME SIZE...
// writes THEMEDIR/<size>x<size>/CONTEXT/NAME.png for every size. Runs at build
// time, so only the SVG is kept in the sources.
#include <QByteArray>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

namespace {

// The SVG renderer reports elements and attributes it does not draw; such a
// message means the PNG would differ from the drawing, so it fails the build.
// Other Qt diagnostics (missing runtime folder and the like) are noise here.
bool svgComplained = false;

void Messages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    const bool fromSvg = context.category && QByteArray(context.category).startsWith("qt.svg");
    if (fromSvg) svgComplained = true;
    if (fromSvg || type == QtFatalMsg || qEnvironmentVariableIsSet("ZB_DEBUG"))
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

// True when some pixel is not fully transparent: an icon that draws nothing
// means the SVG used features the renderer ignores.
bool DrawsSomething(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 0) return true;
    return false;
}

} // namespace

int main(int argc, char** argv) {
    qInstallMessageHandler(Messages);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 6) {
        std::fprintf(stderr, "Aufruf: zb-iconrender ICON.svg THEMENORDNER KONTEXT NAME GRÖSSE...\n");
        return 2;
    }
    const QString svg = QString::fromLocal8Bit(argv[1]);
    const QString theme = QString::fromLocal8Bit(argv[2]);
    const QString context = QString::fromLocal8Bit(argv[3]);
    const QString name = QString::fromLocal8Bit(argv[4]);
    QSvgRenderer renderer(svg);
    if (!renderer.isValid()) {
        std::fprintf(stderr, "zb-iconrender: %s ist kein lesbares SVG.\n", argv[1]);
        return 1;
    }
    for (int i = 5; i < argc; ++i) {
        bool ok = false;
        const int size = QString::fromLocal8Bit(argv[i]).toInt(&ok);
        if (!ok || size < 8 || size > 1024) {
            std::fprintf(stderr, "zb-iconrender: ungültige Größe „%s“.\n", argv[i]);
            return 2;
        }
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            renderer.render(&painter, QRectF(0, 0, size, size));
        }
        if (svgComplained) {
            std::fprintf(stderr, "zb-iconrender: %s enthält, was sich nicht zeichnen lässt.\n", argv[1]);
            return 1;
        }
        if (!DrawsSomething(image)) {
            std::fprintf(stderr, "zb-iconrender: %s zeichnet bei %d Pixeln nichts.\n", argv[1], size);
            return 1;
        }
        const QString dir = QStringLiteral("%1/%2x%2/%3").arg(theme).arg(size).arg(context);
        const QString file = dir + "/" + name + ".png";
        if (!QDir().mkpath(dir) || !image.convertToFormat(QImage::Format_ARGB32).save(file, "PNG")) {
            std::fprintf(stderr, "zb-iconrender: %s lässt sich nicht schreiben.\n", file.toLocal8Bit().constData());
            return 1;
        }
    }
    return 0;
}
