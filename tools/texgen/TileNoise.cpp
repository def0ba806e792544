#include "TileNoise.h"

#include <cmath>
#include <numbers>

#include "render/RandomInt.h"

namespace zb::texgen {

namespace {
double Fade(double t) { return t * t * t * (t * (t * 6 - 15) + 10); }
int Wrap(int i, int n) { return ((i % n) + n) % n; }
} // namespace

TileNoise::TileNoise(int periodX, int periodY, uint32_t seed)
    : px_(periodX), py_(periodY), gx_(size_t(periodX) * size_t(periodY)), gy_(gx_.size()) {
    RandomInt rng(seed);
    for (size_t i = 0; i < gx_.size(); ++i) {
        const double a = 2 * std::numbers::pi * rng(65536) / 65536.0;
        gx_[i] = std::cos(a);
        gy_[i] = std::sin(a);
    }
}

double TileNoise::At(double x, double y) const {
    const double fx = std::floor(x), fy = std::floor(y);
    const int x0 = int(fx), y0 = int(fy);
    const double dx = x - fx, dy = y - fy;
    auto corner = [&](int i, int j) {
        const size_t k = size_t(Wrap(y0 + j, py_)) * size_t(px_) + size_t(Wrap(x0 + i, px_));
        return gx_[k] * (dx - i) + gy_[k] * (dy - j);
    };
    const double u = Fade(dx), v = Fade(dy);
    const double top = corner(0, 0) + u * (corner(1, 0) - corner(0, 0));
    const double bottom = corner(0, 1) + u * (corner(1, 1) - corner(0, 1));
    return top + v * (bottom - top);
}

TileFractal::TileFractal(int cellsX, int cellsY, int octaves, uint32_t seed, double gain) : gain_(gain), norm_(0) {
    double weight = 1;
    for (int o = 0; o < octaves; ++o) {
        const int cx = cellsX << o, cy = cellsY << o;
        layers_.emplace_back(cx, cy, seed * 7919u + uint32_t(o) * 104729u + 1u);
        scaleX_.push_back(cx);
        scaleY_.push_back(cy);
        norm_ += weight;
        weight *= gain;
    }
    norm_ = 1.0 / (0.7 * norm_);
}

double TileFractal::At(double u, double v) const {
    double sum = 0, weight = 1;
    for (size_t o = 0; o < layers_.size(); ++o) {
        sum += weight * layers_[o].At(u * scaleX_[o], v * scaleY_[o]);
        weight *= gain_;
    }
    return sum * norm_;
}

} // namespace zb::texgen
