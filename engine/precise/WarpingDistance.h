#pragma once

#include "engine/precise/CepstralFrames.h"

#include <vector>

// Dynamic time warping of two cepstral sequences. Allocates its cost rows
// once and reuses them; one object per thread.
class WarpingDistance {
public:
    // The distance returned when either sequence is empty.
    static constexpr float UNUSABLE = 1e9f;

    // The average Euclidean frame distance along the cheapest path from the
    // first frames to the last ones, with horizontal, vertical and (counted
    // twice) diagonal steps, divided by the two lengths together. The path
    // stays within half the shorter length of the stretched diagonal, so a
    // word is never matched against a small part of the other. Symmetric:
    // distance(a, b) == distance(b, a).
    float distance(const CepstralFrames& a, const CepstralFrames& b);

private:
    std::vector<float> previous_;
    std::vector<float> current_;
};
