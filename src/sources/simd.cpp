#include "sources/simd.h"

namespace glossira {

bool CpuHasAvx2()
{
#if GLOSSIRA_AVX2
    static const bool has = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return has;
#else
    return false;
#endif
}

}  // namespace glossira
