#pragma once

#include <array>
#include <cstdint>

// The four frequency bands as runs of consecutive transform bins from bin 0
// (43.07 Hz per bin at 22 050 Hz).
struct Band {
    int first_bin;
    int bin_count;
};

inline constexpr Band BAND_TABLE[4] = { { 0, 15 }, { 15, 15 }, { 30, 15 }, { 45, 90 } };

// The four band amplitudes of one frame of 512 samples: the square root of the
// band's power with every bin weighted by its index, so bin 0 never counts.
std::array<std::int32_t, 4> band_amplitudes(const std::int16_t* samples);
