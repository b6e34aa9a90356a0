#pragma once

#include <cstdint>

// 25-bit fixed-point twiddle factors cos and sin(2π·m/512) for m = 0 … 255,
// truncated toward zero, with the exact values forced at m = 0 and 128.
// Built once per process on first use.
struct TwiddleTables {
    static constexpr int FRACTION_BITS = 25;
    std::int32_t cos[256];
    std::int32_t sin[256];
};

const TwiddleTables& twiddle_tables();

// In-place 512-point forward transform (radix-2 decimation in frequency,
// 64-bit fixed point, arithmetic shifts) followed by the bit-reversal
// reordering. The caller scales the input and output.
void transform_512(std::int64_t* re, std::int64_t* im);
