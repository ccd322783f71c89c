// Whether the SSE2 paths are built, and whether this processor runs them. x64 always has
// SSE2. The 32-bit build is compiled for any x86, so there its SSE2 functions carry their
// own target and run only after the processor said it has it; others take the plain path.
#pragma once

#if defined(__x86_64__) || defined(_M_X64) || defined(_M_AMD64) || defined(__SSE2__) || \
    (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#define VEDIO_SSE2 1
#define VEDIO_SSE2_TARGET
namespace vedio {
inline bool ProcessorHasSse2() { return true; }
}  // namespace vedio
#elif defined(__GNUC__) && defined(__i386__)
#define VEDIO_SSE2 1
#define VEDIO_SSE2_TARGET __attribute__((target("sse2")))
namespace vedio {
inline bool ProcessorHasSse2() {
    static const bool has = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("sse2") != 0;
    }();
    return has;
}
}  // namespace vedio
#endif

#ifdef VEDIO_SSE2
#include <emmintrin.h>
#endif
