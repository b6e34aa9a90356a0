#pragma once

#include "engine/precise/CepstralFrames.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// The cache file of a tag's cepstral frames, kept beside its recording and
// rebuilt from it whenever it is missing, damaged or stale. Little-endian:
// "RWCF", version (u32), the recording's fingerprint (u64), its frame count
// and dimensions (u32 each), then count × dimensions 32-bit floats. The
// cache never decides anything: a fresh cache holds exactly what analysing
// the recording gives.

inline constexpr std::uint32_t CEPSTRAL_CACHE_VERSION = 1;
// More frames than any 2.7 s capture can give mean a damaged file.
inline constexpr std::uint32_t MAX_CACHED_FRAMES = 4096;

// FNV-1a over the bytes of the recording file, with the analysis version
// mixed in, so that a changed recording or analysis makes the cache stale.
std::uint64_t recording_fingerprint(const std::uint8_t* bytes, std::size_t size);

std::vector<std::uint8_t> serialize_cepstral_cache(
    const CepstralFrames& frames, std::uint64_t fingerprint);

// The frames of a cache file made for the recording with `fingerprint`.
// Nothing for a stale fingerprint, another version, a wrong size, implausible
// counts or values that are not finite.
std::optional<CepstralFrames> parse_cepstral_cache(
    const std::uint8_t* bytes, std::size_t size, std::uint64_t fingerprint);
