#include "CpuFeatures.h"

namespace mosaiko {

#if defined(__x86_64__) && defined(__GNUC__)

bool CpuHasFastBmi2() {
    // Zen 1 and 2 run these instructions in microcode, far slower than the portable walk.
    return __builtin_cpu_supports("bmi2") && !__builtin_cpu_is("znver1") && !__builtin_cpu_is("znver2");
}

bool CpuHasAvx2() { return __builtin_cpu_supports("avx2"); }

bool CpuHasAvx512Popcount() {
    return __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512vpopcntdq");
}

bool CpuHasAvx512() { return __builtin_cpu_supports("avx512f"); }

#else

bool CpuHasFastBmi2() { return false; }
bool CpuHasAvx2() { return false; }
bool CpuHasAvx512Popcount() { return false; }
bool CpuHasAvx512() { return false; }

#endif

}  // namespace mosaiko
