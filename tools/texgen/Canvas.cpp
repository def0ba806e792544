#include "Canvas.h"

#include <QImage>
#include <QString>

#include <algorithm>
#include <cmath>

namespace zb::texgen {

Rgb Mix(Rgb a, Rgb b, double t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }
Rgb Scale(Rgb a, double f) { return {a.r * f, a.g * f, a.b * f}; }
double Clamp01(double v) { return std::clamp(v, 0.0, 1.0); }
double SmoothStep(double edge0, double edge1, double x) {
    const double t = Clamp01((x - edge0) / (edge1 - edge0));
    return t * t * (3 - 2 * t);
}

void Canvas::Line(double x0, double y0, double x1, double y1, Rgb colour, double opacity, double width) {
    const double radius = width / 2 + 0.5;
    const double dx = x1 - x0, dy = y1 - y0;
    const double length2 = std::max(1e-9, dx * dx + dy * dy);
    for (int y = int(std::floor(std::min(y0, y1) - radius)); y <= int(std::ceil(std::max(y0, y1) + radius)); ++y)
        for (int x = int(std::floor(std::min(x0, x1) - radius)); x <= int(std::ceil(std::max(x0, x1) + radius)); ++x) {
            // Distance from the pixel centre to the segment.
            const double px = x + 0.5, py = y + 0.5;
            const double t = Clamp01(((px - x0) * dx + (py - y0) * dy) / length2);
            const double d = std::hypot(px - (x0 + t * dx), py - (y0 + t * dy));
            const double a = opacity * Clamp01(radius - d);
            if (a > 0) at(x, y) = Mix(at(x, y), colour, a);
        }
}

bool Canvas::SavePng(const std::string& path) const {
    QImage image(size_, size_, QImage::Format_RGB888);
    for (int y = 0; y < size_; ++y) {
        uchar* row = image.scanLine(y);
        for (int x = 0; x < size_; ++x) {
            const Rgb& c = pixels_[size_t(y) * size_t(size_) + size_t(x)];
            row[3 * x] = uchar(std::lround(Clamp01(c.r) * 255));
            row[3 * x + 1] = uchar(std::lround(Clamp01(c.g) * 255));
            row[3 * x + 2] = uchar(std::lround(Clamp01(c.b) * 255));
        }
    }
    return image.save(QString::fromLocal8Bit(path.c_str()), "png");
}

} // namespace zb::texgen
