// Vector code for x86: compiled per function for AVX2 (the build targets baseline x86-64) and
// run only after a check of the processor.
#pragma once

#if (defined(__x86_64__) || defined(__i386__)) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define QUILLSCAN_HAS_AVX2_CODE 1
#define QUILLSCAN_AVX2 __attribute__((target("avx2,bmi,popcnt")))
#else
#define QUILLSCAN_HAS_AVX2_CODE 0
#endif

namespace quillscan {

// True when this processor runs AVX2 code (always false where none is compiled).
inline bool hasAvx2() {
#if QUILLSCAN_HAS_AVX2_CODE
    static const bool supported = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return supported;
#else
    return false;
#endif
}

}  // namespace quillscan
