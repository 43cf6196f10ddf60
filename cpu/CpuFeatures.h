// What the processor running the program can do, asked at run time. The
// program is built for a baseline processor; the few files compiled for wider
// instruction sets run only after one of these said yes. On other
// architectures and compilers every answer is no.
#pragma once

namespace mosaiko {

// BMI2 (PDEP, PEXT) in hardware, as the deposit placement needs it.
bool CpuHasFastBmi2();

// AVX2, as the mask search's 256-bit kernel without vector popcount needs it.
bool CpuHasAvx2();

// AVX-512 VL with VPOPCNTDQ, as the wide mask search needs it.
bool CpuHasAvx512Popcount();

// AVX-512 F, as the wide bit fill needs it.
bool CpuHasAvx512();

}  // namespace mosaiko
