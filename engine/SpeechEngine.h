#pragma once

#include "liba/Nocopy.h"

#include <cstdint>

// The engine object of the application document: it owns the alignment
// workspace that compare() uses, and its construction prepares the
// process-wide twiddle tables. Used on one thread at a time.
class SpeechEngine : liba::Nocopy {
public:
    static constexpr int WORKSPACE_FRAMES = 512;

    SpeechEngine();

    // 512 frames × 4 values; all zero between comparisons.
    std::int32_t* workspace() { return workspace_; }
    bool workspace_is_clear() const;

private:
    std::int32_t workspace_[WORKSPACE_FRAMES * 4] {};
};
