#pragma once
// A square colour canvas of doubles (0 .. 1) for building one texture, with
// drawing that wraps around the edges and writing to PNG.
#include <cstdint>
#include <string>
#include <vector>

namespace zb::texgen {

struct Rgb {
    double r = 0, g = 0, b = 0;
};

Rgb Mix(Rgb a, Rgb b, double t);
Rgb Scale(Rgb a, double f);
double Clamp01(double v);
double SmoothStep(double edge0, double edge1, double x);

class Canvas {
public:
    explicit Canvas(int size) : size_(size), pixels_(size_t(size) * size_t(size)) {}
    int size() const { return size_; }
    Rgb& at(int x, int y) { return pixels_[size_t(Wrap(y)) * size_t(size_) + size_t(Wrap(x))]; }

    // Fills every pixel from f(u, v), u and v the pixel centre in 0 .. 1;
    // `samples` per axis (antialiasing for hard-edged patterns).
    template <class F>
    void Fill(F f, int samples = 1) {
        for (int y = 0; y < size_; ++y)
            for (int x = 0; x < size_; ++x) {
                Rgb sum;
                for (int sy = 0; sy < samples; ++sy)
                    for (int sx = 0; sx < samples; ++sx) {
                        const Rgb c = f((x + (sx + 0.5) / samples) / size_, (y + (sy + 0.5) / samples) / size_);
                        sum.r += c.r;
                        sum.g += c.g;
                        sum.b += c.b;
                    }
                at(x, y) = Scale(sum, 1.0 / (samples * samples));
            }
    }

    // A soft line from (x0, y0) to (x1, y1) in pixels, blended towards
    // `colour` by `opacity`; parts past an edge reappear at the opposite one.
    void Line(double x0, double y0, double x1, double y1, Rgb colour, double opacity, double width = 1.0);

    // Writes an 8-bit RGB PNG; false on failure.
    bool SavePng(const std::string& path) const;

private:
    int Wrap(int i) const { return ((i % size_) + size_) % size_; }
    int size_;
    std::vector<Rgb> pixels_;
};

} // namespace zb::texgen
