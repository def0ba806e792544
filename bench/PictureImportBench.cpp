// Loading pictures: conversion of indexed pictures to 24 bits, building a
// record from decoded rows, and halftoning for low-colour displays.
#include <benchmark/benchmark.h>

#include <random>

#include "imaging/ConvertDib.h"
#include "base/DibCopy.h"
#include "imaging/Halftone.h"
#include "imaging/PictureImport.h"

using namespace zb;

namespace {

constexpr int kWidth = 4000, kHeight = 3000; // a 12-megapixel photo

DibPicture RandomPicture(int bits) {
    DibPicture dib(kWidth, kHeight, bits);
    std::mt19937 rng(7);
    for (int i = 0; i < 256; ++i) dib.dib().LogPalette.palPalEntry[i] = {uint8_t(rng()), uint8_t(rng()), uint8_t(rng()), 0};
    for (int64_t i = 0; i < int64_t(dib.dib().BytesPerLine) * kHeight; ++i) dib.dib().Bits[i] = uint8_t(rng());
    return dib;
}

void BM_ConvertDib(benchmark::State& state) {
    const int bits = int(state.range(0));
    DibPicture source = RandomPicture(bits);
    for (auto _ : state) {
        state.PauseTiming();
        DibPicture picture;
        MakeDIBCopy(source, picture);
        picture.dib().LogPalette = source.dib().LogPalette;
        state.ResumeTiming();
        ConvertDib(picture, 24);
        benchmark::DoNotOptimize(picture.dib().Bits);
        state.PauseTiming();
        picture.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * int64_t(kWidth) * kHeight);
}
BENCHMARK(BM_ConvertDib)->Arg(1)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond);

// The same conversion written pixel by pixel with the record accessors, to
// show what the row loops gain.
void BM_ConvertDibPixelByPixel(benchmark::State& state) {
    DibPicture source = RandomPicture(8);
    for (auto _ : state) {
        DibPicture t(kWidth, kHeight, 24);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const TPaletteEntry& e = source.dib().LogPalette.palPalEntry[getpixel(source, x, y)];
                setpixel(t.dib(), x, y, RGBColor(e.peRed, e.peGreen, e.peBlue));
            }
        benchmark::DoNotOptimize(t.dib().Bits);
    }
    state.SetItemsProcessed(state.iterations() * int64_t(kWidth) * kHeight);
}
BENCHMARK(BM_ConvertDibPixelByPixel)->Unit(benchmark::kMillisecond);

void BM_DibFromDecoded24(benchmark::State& state) {
    DecodedPicture decoded;
    decoded.width = kWidth;
    decoded.height = kHeight;
    decoded.bitCount = 24;
    decoded.stride = int64_t(kWidth) * 3;
    decoded.pixels.assign(size_t(decoded.stride) * kHeight, 0x5A);
    for (auto _ : state) {
        DibPicture dib;
        DibFromDecoded(dib, decoded);
        benchmark::DoNotOptimize(dib.dib().Bits);
    }
    state.SetItemsProcessed(state.iterations() * int64_t(kWidth) * kHeight);
}
BENCHMARK(BM_DibFromDecoded24)->Unit(benchmark::kMillisecond);

void BM_Halftone(benchmark::State& state) {
    DibPicture source = RandomPicture(24);
    for (auto _ : state) {
        DibPicture out;
        DIBHalftoneDIBXY(out, source, 1920, 1080);
        benchmark::DoNotOptimize(out.dib().Bits);
    }
    state.SetItemsProcessed(state.iterations() * 1920 * 1080);
}
BENCHMARK(BM_Halftone)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
