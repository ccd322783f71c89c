// Whether the SSE2 paths are built: on x64 always, and on 32-bit x86 when the compiler may
// use SSE2 (the build asks for it there: every processor Windows runs on since its 2018
// updates has SSE2). Other builds take the plain paths.
#pragma once

#if defined(__x86_64__) || defined(_M_X64) || defined(_M_AMD64) || defined(__SSE2__) || \
    (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#define VEDIO_SSE2 1
#include <emmintrin.h>
#endif
