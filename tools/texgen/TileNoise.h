#pragma once
// Gradient noise on a lattice that wraps around, so everything built from it
// tiles seamlessly; and fractal sums of several such octaves.
//
// Random gradients come from the program's RandomInt with fixed seeds, so the
// textures are the same on every machine and every build.
#include <cstdint>
#include <vector>

namespace zb::texgen {

class TileNoise {
public:
    // A lattice of periodX x periodY cells.
    TileNoise(int periodX, int periodY, uint32_t seed);
    // Noise at lattice coordinates (x, y), any real values; about -0.7 .. 0.7.
    double At(double x, double y) const;

private:
    int px_;
    int py_;
    std::vector<double> gx_;
    std::vector<double> gy_;
};

// Sum of `octaves` noise layers over the unit square: the first has
// cellsX x cellsY cells, each further one twice as many and `gain` times the
// weight. Result normalised to about -1 .. 1.
class TileFractal {
public:
    TileFractal(int cellsX, int cellsY, int octaves, uint32_t seed, double gain = 0.5);
    // u, v in the unit square (values outside wrap).
    double At(double u, double v) const;

private:
    std::vector<TileNoise> layers_;
    std::vector<double> scaleX_;
    std::vector<double> scaleY_;
    double gain_;
    double norm_;
};

} // namespace zb::texgen
