#pragma once

#include <array>
#include <complex>

// The power in each frequency bin of one 512-sample analysis frame,
// computed in single precision with an iterative radix-2 transform. Bins
// 0 … 256 (DC to half the sample rate).
class FourierPower {
public:
    static constexpr int POINTS = 512;
    static constexpr int BINS = POINTS / 2 + 1;

    FourierPower();

    // |X[k]|² of the frame for k = 0 … 256.
    std::array<float, BINS> power(const std::array<float, POINTS>& frame) const;

private:
    std::array<std::complex<float>, POINTS / 2> twiddles_;
    std::array<int, POINTS> reversed_;
};
