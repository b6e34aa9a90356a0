#include "engine/TagFile.h"

#include "os/File.h"
#include "platform/LittleEndian.h"

#include <bit>
#include <cstring>

namespace {

constexpr int BANDS = FeatureSet::BANDS;
constexpr int SEGMENTS = FeatureSet::MAX_SEGMENTS;
// count, segment_start[3], segment_end[3], segment_count
constexpr std::size_t VARIANT_HEADER_BYTES = 4 * (1 + 2 * SEGMENTS + 1);
// Per frame: four 16-bit normalised values and four 32-bit amplitudes.
constexpr std::size_t FRAME_BYTES = BANDS * (2 + 4);
// Far beyond any recording the program makes (about 20 minutes of speech);
// a larger count is damage, not data.
constexpr std::int32_t MAX_TAG_FRAMES = 1 << 16;
constexpr std::size_t MAX_TAG_BYTES = 4 + 3 * (VARIANT_HEADER_BYTES + FRAME_BYTES * MAX_TAG_FRAMES);

// Reads little-endian values; every read is checked against what remains.
class ByteReader {
public:
    ByteReader(const std::uint8_t* bytes, std::size_t size)
        : bytes_(bytes)
        , size_(size)
    {
    }

    std::size_t remaining() const { return size_ - position_; }

    bool get32(std::uint32_t& value)
    {
        if (remaining() < 4)
            return false;
        value = platform::read_u32le(bytes_ + position_);
        position_ += 4;
        return true;
    }
    bool get_int32(std::int32_t& value)
    {
        std::uint32_t raw;
        if (!get32(raw))
            return false;
        value = static_cast<std::int32_t>(raw);
        return true;
    }
    // The unchecked reads follow a check of remaining() for the whole array.
    std::int16_t get_int16_unchecked()
    {
        const std::uint8_t* p = bytes_ + position_;
        position_ += 2;
        return platform::read_i16le(p);
    }
    std::int32_t get_int32_unchecked()
    {
        const std::uint8_t* p = bytes_ + position_;
        position_ += 4;
        return platform::read_i32le(p);
    }

private:
    const std::uint8_t* bytes_;
    std::size_t size_;
    std::size_t position_ = 0;
};

void write_variant(std::vector<std::uint8_t>& out, const FeatureSet& set)
{
    const std::int32_t count = set.empty() ? 0 : set.count;
    platform::append_u32le(out, static_cast<std::uint32_t>(count));
    for (std::int32_t start : set.segment_start)
        platform::append_u32le(out, static_cast<std::uint32_t>(start));
    for (std::int32_t end : set.segment_end)
        platform::append_u32le(out, static_cast<std::uint32_t>(end));
    platform::append_u32le(out, static_cast<std::uint32_t>(set.segment_count));
    const std::size_t values = static_cast<std::size_t>(count) * BANDS;
    for (std::size_t i = 0; i < values; ++i)
        platform::append_u16le(
            out, set.normalized ? static_cast<std::uint16_t>(set.normalized[i]) : 0);
    for (std::size_t i = 0; i < values; ++i)
        platform::append_u32le(out, static_cast<std::uint32_t>(set.frames[i]));
}

bool read_variant(ByteReader& in, FeatureSet& set)
{
    std::int32_t count;
    std::int32_t start[SEGMENTS];
    std::int32_t end[SEGMENTS];
    std::int32_t segment_count;
    if (!in.get_int32(count))
        return false;
    for (std::int32_t& value : start) {
        if (!in.get_int32(value))
            return false;
    }
    for (std::int32_t& value : end) {
        if (!in.get_int32(value))
            return false;
    }
    if (!in.get_int32(segment_count))
        return false;

    if (count < 0 || count > MAX_TAG_FRAMES)
        return false;
    if (static_cast<std::size_t>(count) * FRAME_BYTES > in.remaining())
        return false;
    for (int k = 0; k < SEGMENTS; ++k) {
        if (start[k] < 0 || start[k] > count || end[k] < 0 || end[k] > count)
            return false;
    }
    const int lowest_segment_count = count > 0 ? 1 : 0;
    if (segment_count < lowest_segment_count || segment_count > SEGMENTS)
        return false;

    set.allocate(count);
    set.allocate_normalized();
    set.segment_count = segment_count;
    std::memcpy(set.segment_start, start, sizeof start);
    std::memcpy(set.segment_end, end, sizeof end);
    const std::size_t values = static_cast<std::size_t>(count) * BANDS;
    for (std::size_t i = 0; i < values; ++i)
        set.normalized[i] = in.get_int16_unchecked();
    for (std::size_t i = 0; i < values; ++i)
        set.frames[i] = in.get_int32_unchecked();
    return true;
}

} // namespace

std::vector<std::uint8_t> serialize_template(const VoiceTemplate& handle)
{
    std::vector<std::uint8_t> out;
    platform::append_u32le(out, std::bit_cast<std::uint32_t>(handle.threshold()));
    for (int v = 0; v < 3; ++v)
        write_variant(out, handle.variant(v));
    return out;
}

bool write_template(const VoiceTemplate& handle, liba::StreamWriter& stream)
{
    std::vector<std::uint8_t> bytes = serialize_template(handle);
    const auto size = static_cast<std::uint32_t>(bytes.size());
    return stream.write(bytes.data(), size) == size;
}

VoiceTemplate parse_template(const std::uint8_t* bytes, std::size_t size)
{
    if (!bytes || size > MAX_TAG_BYTES)
        return {};
    ByteReader in(bytes, size);
    std::uint32_t threshold_bits;
    if (!in.get32(threshold_bits))
        return {};
    std::array<FeatureSet, 3> variants;
    for (FeatureSet& set : variants) {
        if (!read_variant(in, set))
            return {};
    }
    // Trailing bytes mean the counts don't describe this file.
    if (in.remaining() != 0)
        return {};
    return VoiceTemplate(std::bit_cast<float>(threshold_bits), std::move(variants));
}

VoiceTemplate read_template(const std::u16string& path)
{
    os::File file(path, 0);
    if (!file.is_open())
        return {};
    const std::uint32_t size = file.size();
    if (size > MAX_TAG_BYTES)
        return {};
    std::vector<std::uint8_t> bytes(size);
    if (size != 0 && file.read(bytes.data(), size) != size)
        return {};
    return parse_template(bytes.data(), bytes.size());
}
