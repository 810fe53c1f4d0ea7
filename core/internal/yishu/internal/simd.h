// Whether the engines may use SSE2, which every x86-64 processor has. GCC and
// Clang say so with __SSE2__; MSVC never defines it and says _M_X64 instead.
// Every SIMD path tests YISHU_SSE2, so that all engines take the same paths
// on the same machine.
#pragma once

#if defined(__SSE2__) || defined(_M_X64)
#define YISHU_SSE2 1
#include <emmintrin.h>
#else
#define YISHU_SSE2 0
#endif
