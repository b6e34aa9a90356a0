#include "engine/precise/CepstralCache.h"

#include "platform/LittleEndian.h"

#include <bit>
#include <cmath>
#include <cstring>

namespace {

constexpr std::uint8_t MAGIC[4] = { 'R', 'W', 'C', 'F' };
constexpr std::size_t HEADER_BYTES = 4 + 4 + 8 + 4 + 4;

void append_u64le(std::vector<std::uint8_t>& out, std::uint64_t value)
{
    platform::append_u32le(out, static_cast<std::uint32_t>(value));
    platform::append_u32le(out, static_cast<std::uint32_t>(value >> 32));
}

std::uint64_t read_u64le(const std::uint8_t* p)
{
    return platform::read_u32le(p) | static_cast<std::uint64_t>(platform::read_u32le(p + 4)) << 32;
}

} // namespace

std::uint64_t recording_fingerprint(const std::uint8_t* bytes, std::size_t size)
{
    std::uint64_t hash = 14695981039346656037ull;
    const auto mix = [&hash](std::uint8_t byte) {
        hash ^= byte;
        hash *= 1099511628211ull;
    };
    for (std::size_t i = 0; i < 4; ++i)
        mix(static_cast<std::uint8_t>(CEPSTRAL_CACHE_VERSION >> (8 * i)));
    for (std::size_t i = 0; i < size; ++i)
        mix(bytes[i]);
    return hash;
}

std::vector<std::uint8_t> serialize_cepstral_cache(
    const CepstralFrames& frames, std::uint64_t fingerprint)
{
    std::vector<std::uint8_t> out(MAGIC, MAGIC + 4);
    platform::append_u32le(out, CEPSTRAL_CACHE_VERSION);
    append_u64le(out, fingerprint);
    const auto count = static_cast<std::uint32_t>(frames.empty() ? 0 : frames.count);
    platform::append_u32le(out, count);
    platform::append_u32le(out, CepstralFrames::DIMENSIONS);
    for (std::size_t i = 0; i < static_cast<std::size_t>(count) * CepstralFrames::DIMENSIONS; ++i)
        platform::append_u32le(out, std::bit_cast<std::uint32_t>(frames.values[i]));
    return out;
}

std::optional<CepstralFrames> parse_cepstral_cache(
    const std::uint8_t* bytes, std::size_t size, std::uint64_t fingerprint)
{
    if (!bytes || size < HEADER_BYTES || std::memcmp(bytes, MAGIC, 4) != 0)
        return std::nullopt;
    if (platform::read_u32le(bytes + 4) != CEPSTRAL_CACHE_VERSION
        || read_u64le(bytes + 8) != fingerprint)
        return std::nullopt;
    const std::uint32_t count = platform::read_u32le(bytes + 16);
    const std::uint32_t dimensions = platform::read_u32le(bytes + 20);
    if (count > MAX_CACHED_FRAMES || dimensions != CepstralFrames::DIMENSIONS)
        return std::nullopt;
    const std::size_t values = static_cast<std::size_t>(count) * dimensions;
    if (size - HEADER_BYTES != values * 4)
        return std::nullopt;
    CepstralFrames frames;
    frames.count = static_cast<std::int32_t>(count);
    frames.values.resize(values);
    for (std::size_t i = 0; i < values; ++i) {
        const float value
            = std::bit_cast<float>(platform::read_u32le(bytes + HEADER_BYTES + 4 * i));
        if (!std::isfinite(value))
            return std::nullopt;
        frames.values[i] = value;
    }
    return frames;
}
