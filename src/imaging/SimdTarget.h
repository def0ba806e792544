// Compiles the code between ZB_SIMD_TARGET_BEGIN(...) and ZB_SIMD_TARGET_END
// for an extra instruction set, under both gcc and clang, so only the kernels
// of that file can use it and the rest of the program runs on any x86-64.
#pragma once

#define ZB_PRAGMA(x) _Pragma(#x)
#if defined(__clang__)
#define ZB_SIMD_TARGET_BEGIN(isa) ZB_PRAGMA(clang attribute push(__attribute__((target(isa))), apply_to = function))
#define ZB_SIMD_TARGET_END ZB_PRAGMA(clang attribute pop)
#else
#define ZB_SIMD_TARGET_BEGIN(isa) ZB_PRAGMA(GCC push_options) ZB_PRAGMA(GCC target(isa))
#define ZB_SIMD_TARGET_END ZB_PRAGMA(GCC pop_options)
#endif
