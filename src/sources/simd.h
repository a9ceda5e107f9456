// What the compiler offers for vector code: GLOSSIRA_SSE2 when SSE2 is always
// there, GLOSSIRA_AVX2 when one function can be built for AVX2 and chosen at
// run time (GLOSSIRA_TARGET_AVX2 marks such a function). Defining
// GLOSSIRA_NO_AVX2 builds SSE2 alone, to measure one against the other.
#pragma once

#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#include <emmintrin.h>
#define GLOSSIRA_SSE2 1
#else
#define GLOSSIRA_SSE2 0
#endif

#if GLOSSIRA_SSE2 && !defined(GLOSSIRA_NO_AVX2) && (defined(__GNUC__) || defined(__clang__)) && \
    (defined(__x86_64__) || defined(__i386__))
#include <immintrin.h>
#define GLOSSIRA_AVX2 1
#define GLOSSIRA_TARGET_AVX2 __attribute__((target("avx2")))
#else
#define GLOSSIRA_AVX2 0
#define GLOSSIRA_TARGET_AVX2
#endif

namespace glossira {

// True when this processor runs AVX2 code; always false without GLOSSIRA_AVX2.
bool CpuHasAvx2();

}  // namespace glossira
