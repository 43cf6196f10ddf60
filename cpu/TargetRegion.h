// The functions between MOSAIKO_TARGET_BEGIN("isa,...") and MOSAIKO_TARGET_END
// are compiled for those instruction sets, the rest of the file for the
// baseline; they run only after CpuFeatures.h reported the CPU has them.
// Clang (the fuzz build) has no GCC target pragma; its attribute does the same.
#pragma once

#define MOSAIKO_PRAGMA(text) _Pragma(#text)
#if defined(__clang__)
#define MOSAIKO_TARGET_BEGIN(isa) \
    MOSAIKO_PRAGMA(clang attribute push(__attribute__((target(isa))), apply_to = function))
#define MOSAIKO_TARGET_END MOSAIKO_PRAGMA(clang attribute pop)
#else
#define MOSAIKO_TARGET_BEGIN(isa) MOSAIKO_PRAGMA(GCC push_options) MOSAIKO_PRAGMA(GCC target(isa))
#define MOSAIKO_TARGET_END MOSAIKO_PRAGMA(GCC pop_options)
#endif
