// zb-texgen: writes the program's own textures into the folder given as the
// first argument. Every texture tiles seamlessly in both directions (noise on
// wrapping lattices, patterns whose periods divide the size, drawing that
// wraps around) and is the same on every run (fixed seeds).
#include <QDir>
#include <QString>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

#include "Canvas.h"
#include "TileNoise.h"
#include "render/RandomInt.h"

using namespace zb::texgen;
using zb::RandomInt;

namespace {

constexpr double kTau = 2 * std::numbers::pi;

double Frac(double v) { return v - std::floor(v); }
double Unit(RandomInt& rng) { return rng(1 << 20) / double(1 << 20); }

// Short fibres scattered over the canvas, lighter or darker than the ground.
void Fibres(Canvas& c, RandomInt& rng, int count, double minLength, double maxLength, Rgb dark, Rgb light,
            double opacity, double width) {
    for (int i = 0; i < count; ++i) {
        const double x = Unit(rng) * c.size(), y = Unit(rng) * c.size();
        const double a = Unit(rng) * kTau, len = minLength + Unit(rng) * (maxLength - minLength);
        const double bend = (Unit(rng) - 0.5) * 0.6;
        // Two segments with a slight bend look less like ruled lines.
        const double mx = x + std::cos(a) * len / 2, my = y + std::sin(a) * len / 2;
        const Rgb colour = rng(2) ? dark : light;
        const double o = opacity * (0.5 + Unit(rng));
        c.Line(x, y, mx, my, colour, o, width);
        c.Line(mx, my, mx + std::cos(a + bend) * len / 2, my + std::sin(a + bend) * len / 2, colour, o, width);
    }
}

// Per-pixel grain of +-amount.
void Grain(Canvas& c, RandomInt& rng, double amount) {
    for (int y = 0; y < c.size(); ++y)
        for (int x = 0; x < c.size(); ++x) c.at(x, y) = Scale(c.at(x, y), 1 + (Unit(rng) - 0.5) * 2 * amount);
}

Canvas Papier() {
    Canvas c(512);
    const TileFractal mottle(4, 4, 5, 11), fine(48, 48, 2, 12);
    const Rgb base{0.965, 0.952, 0.918};
    c.Fill([&](double u, double v) { return Scale(base, 1 + 0.022 * mottle.At(u, v) + 0.012 * fine.At(u, v)); });
    RandomInt rng(13);
    Fibres(c, rng, 420, 6, 22, {0.80, 0.78, 0.74}, {1, 1, 1}, 0.10, 0.7);
    Grain(c, rng, 0.012);
    return c;
}

Canvas Leinen() {
    Canvas c(256);
    const TileFractal slubH(2, 32, 3, 21), slubV(32, 2, 3, 22), cloud(4, 4, 3, 23);
    const Rgb linen{0.86, 0.82, 0.73};
    c.Fill(
        [&](double u, double v) {
            // 64 threads each way; over and under alternate like a plain weave.
            const double h = 0.5 + 0.5 * std::cos(kTau * (v * 64 + 0.18 * slubH.At(u, v)));
            const double w = 0.5 + 0.5 * std::cos(kTau * (u * 64 + 0.18 * slubV.At(u, v)));
            const bool over = (int(std::floor(u * 64)) + int(std::floor(v * 64))) % 2 == 0;
            const double thread = over ? 0.65 * h + 0.35 * w : 0.35 * h + 0.65 * w;
            const double thick = 0.05 * (over ? slubH.At(u, v) : slubV.At(u, v));
            return Scale(linen, 0.84 + 0.16 * thread + thick + 0.03 * cloud.At(u, v));
        },
        2);
    return c;
}

Canvas Kraftpapier() {
    Canvas c(512);
    const TileFractal mottle(3, 3, 5, 31), fine(40, 40, 3, 32);
    const Rgb kraft{0.71, 0.54, 0.37};
    c.Fill([&](double u, double v) { return Scale(kraft, 1 + 0.06 * mottle.At(u, v) + 0.03 * fine.At(u, v)); });
    RandomInt rng(33);
    Fibres(c, rng, 2600, 5, 28, {0.46, 0.33, 0.21}, {0.86, 0.72, 0.52}, 0.22, 0.6);
    Grain(c, rng, 0.02);
    return c;
}

Canvas Marmor() {
    Canvas c(512);
    const TileFractal turb(3, 3, 6, 41), turb2(4, 4, 5, 42), cloud(2, 2, 4, 43);
    const Rgb stone{0.95, 0.94, 0.91}, vein{0.40, 0.43, 0.49}, warm{0.86, 0.82, 0.76};
    c.Fill([&](double u, double v) {
        const double t = std::sin(kTau * (2 * u + v) + 5.5 * turb.At(u, v));
        const double t2 = std::sin(kTau * (u - 3 * v) + 7.0 * turb2.At(u, v));
        const double main = std::pow(1 - std::abs(t), 9);
        const double thin = std::pow(1 - std::abs(t2), 24);
        const Rgb ground = Mix(stone, warm, Clamp01(0.5 + 0.8 * cloud.At(u, v)) * 0.5);
        return Mix(ground, vein, Clamp01(0.75 * main + 0.3 * thin));
    });
    return c;
}

Canvas Holz() {
    Canvas c(512);
    const TileFractal warp(2, 6, 4, 51), streak(3, 128, 2, 52), knot(2, 2, 3, 53);
    const Rgb light{0.83, 0.63, 0.41}, dark{0.54, 0.34, 0.19};
    c.Fill([&](double u, double v) {
        // Year rings run along the board; 9 of them fit the tile exactly.
        const double arg = 9 * v + 0.8 * warp.At(u, v) + 0.15 * knot.At(u, v);
        const double ring = std::pow(0.5 + 0.5 * std::sin(kTau * arg), 5);
        const double s = 0.5 + 0.5 * streak.At(u, v);
        return Mix(light, dark, Clamp01(0.55 * ring + 0.30 * s + 0.1 * knot.At(u, v)));
    });
    return c;
}

Canvas Aquarell() {
    Canvas c(512);
    const TileFractal wash1(3, 3, 5, 61), wash2(2, 2, 5, 62), inner(6, 6, 3, 63), paper(40, 40, 3, 64);
    const Rgb white{0.98, 0.97, 0.95}, blue{0.33, 0.55, 0.82}, rose{0.92, 0.46, 0.56};
    auto density = [](double f) {
        // Pigment pools at the rim of a wash, as it does when water dries.
        const double inside = SmoothStep(-0.12, 0.08, f);
        return inside * 0.32 + 0.28 * std::exp(-std::pow((f - 0.02) / 0.05, 2)) * inside;
    };
    auto tint = [](Rgb ground, Rgb pigment, double d) {
        return Rgb{ground.r * (1 - d * (1 - pigment.r)), ground.g * (1 - d * (1 - pigment.g)),
                   ground.b * (1 - d * (1 - pigment.b))};
    };
    c.Fill([&](double u, double v) {
        const double vary = 0.75 + 0.5 * (0.5 + 0.5 * inner.At(u, v));
        Rgb col = Scale(white, 1 + 0.02 * paper.At(u, v));
        col = tint(col, blue, Clamp01(density(wash1.At(u, v)) * vary));
        col = tint(col, rose, Clamp01(density(wash2.At(u, v) - 0.15) * vary));
        return col;
    });
    return c;
}

// Distance in the unit square from (u, v) to the nearest point of a lattice
// with `cells` cells per side, shifted by (ox, oy) cells.
double LatticeDistance(double u, double v, int cells, double ox, double oy) {
    const double fu = Frac(u * cells - ox) - 0.5, fv = Frac(v * cells - oy) - 0.5;
    return std::hypot(fu, fv) / cells;
}

Canvas Punkte() {
    Canvas c(256);
    const Rgb cream{0.98, 0.95, 0.88}, red{0.80, 0.22, 0.27}, teal{0.20, 0.55, 0.56};
    c.Fill(
        [&](double u, double v) {
            if (LatticeDistance(u, v, 4, 0, 0) < 0.055) return red;
            if (LatticeDistance(u, v, 4, 0.5, 0.5) < 0.032) return teal;
            return cream;
        },
        4);
    return c;
}

Canvas Streifen() {
    Canvas c(256);
    const Rgb cream{0.96, 0.93, 0.85}, navy{0.16, 0.22, 0.38}, red{0.78, 0.20, 0.20};
    c.Fill(
        [&](double u, double v) {
            // Four diagonal repeats per tile, so the stripes meet at every edge.
            const double d = Frac((u + v) * 4 + 0.3);
            if (d < 0.36) return navy;
            if (d >= 0.46 && d < 0.51) return red;
            return cream;
        },
        4);
    return c;
}

Canvas Karo() {
    Canvas c(256);
    const TileFractal weave(64, 64, 1, 91);
    const Rgb white{0.98, 0.98, 0.96}, blue{0.22, 0.47, 0.70};
    c.Fill(
        [&](double u, double v) {
            const int bands = (Frac(u * 8 + 0.25) < 0.5) + (Frac(v * 8 + 0.25) < 0.5);
            const double threads = 0.015 * std::cos(kTau * u * 128) + 0.015 * std::cos(kTau * v * 128);
            return Scale(Mix(white, blue, bands * 0.45), 1 + threads + 0.02 * weave.At(u, v));
        },
        2);
    return c;
}

Canvas Pergament() {
    Canvas c(512);
    const TileFractal blotch(3, 3, 6, 101), spots(12, 12, 3, 102), fibre(24, 24, 3, 103);
    const Rgb base{0.94, 0.87, 0.69}, aged{0.72, 0.56, 0.35};
    c.Fill([&](double u, double v) {
        const double dark = 0.55 * SmoothStep(0.05, 0.9, blotch.At(u, v)) + 0.35 * SmoothStep(0.55, 0.9, spots.At(u, v));
        return Scale(Mix(base, aged, Clamp01(dark)), 1 + 0.03 * fibre.At(u, v));
    });
    RandomInt rng(104);
    Grain(c, rng, 0.01);
    return c;
}

Canvas Rauten() {
    Canvas c(256);
    const Rgb wine{0.56, 0.13, 0.20}, green{0.14, 0.36, 0.30}, cream{0.95, 0.91, 0.81}, gold{0.83, 0.67, 0.30};
    c.Fill(
        [&](double u, double v) {
            const int cx = int(std::floor(u * 4)), cy = int(std::floor(v * 4));
            const double fu = Frac(u * 4) - 0.5, fv = Frac(v * 4) - 0.5;
            const double r = std::abs(fu) + std::abs(fv);
            if (std::abs(r - 0.5) < 0.025) return gold;
            if (r < 0.5) return (cx + cy) % 2 ? wine : green;
            return cream;
        },
        4);
    return c;
}

Canvas Wellen() {
    Canvas c(256);
    const Rgb light{0.80, 0.89, 0.95}, deep{0.18, 0.38, 0.62}, foam{0.97, 0.98, 1.0};
    c.Fill(
        [&](double u, double v) {
            const double band = Frac(v * 8 + 0.22 * std::sin(kTau * u * 4) + 0.5);
            if (band < 0.07) return foam;
            return Mix(light, deep, SmoothStep(0.07, 1.0, band));
        },
        4);
    return c;
}

struct Texture {
    const char* fileName;
    std::function<Canvas()> make;
};

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "Aufruf: zb-texgen ZIELORDNER\n");
        return 2;
    }
    const std::string folder = argv[1];
    if (!QDir().mkpath(QString::fromLocal8Bit(folder.c_str()))) {
        std::fprintf(stderr, "zb-texgen: Der Ordner %s kann nicht angelegt werden.\n", folder.c_str());
        return 1;
    }
    const std::vector<Texture> textures = {
        {"01-papier.png", Papier},       {"02-leinen.png", Leinen},     {"03-kraftpapier.png", Kraftpapier},
        {"04-marmor.png", Marmor},       {"05-holz.png", Holz},         {"06-aquarell.png", Aquarell},
        {"07-punkte.png", Punkte},       {"08-streifen.png", Streifen}, {"09-karo.png", Karo},
        {"10-pergament.png", Pergament}, {"11-rauten.png", Rauten},     {"12-wellen.png", Wellen},
    };
    for (const Texture& t : textures) {
        const std::string path = folder + "/" + t.fileName;
        const auto start = std::chrono::steady_clock::now();
        const bool saved = t.make().SavePng(path);
        if (std::getenv("ZB_TEXGEN_TIMES"))
            std::printf("%s %.0f ms\n", t.fileName,
                        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        if (!saved) {
            std::fprintf(stderr, "zb-texgen: %s kann nicht geschrieben werden.\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
