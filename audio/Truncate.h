#pragma once

#include <cmath>
#include <cstdint>

namespace audio {

// Converts a sample or byte count computed in double precision toward zero.
// Values that no audio length can reach (not a number, beyond +-2^53) are
// pinned, so that damaged inputs cannot trigger undefined conversions.
inline std::int64_t truncate_count(double value)
{
    constexpr double limit = 9007199254740992.0; // 2^53
    if (std::isnan(value))
        return 0;
    if (value >= limit)
        return static_cast<std::int64_t>(limit);
    if (value <= -limit)
        return -static_cast<std::int64_t>(limit);
    return static_cast<std::int64_t>(value);
}

} // namespace audio
