#include "audio/AudioBuffer.h"

#include "audio/Truncate.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace audio {

AudioBuffer::~AudioBuffer()
{
    disconnect<PCMData>(*this);
    connect<PCMData>(*this, nullptr);
}

void AudioBuffer::set_duration(double seconds)
{
    liba::Lock guard(lock);
    count_ = 0;
    duration_ = seconds;
}

double AudioBuffer::duration()
{
    liba::Lock guard(lock);
    return duration_;
}

std::int32_t AudioBuffer::count()
{
    liba::Lock guard(lock);
    return count_;
}

void AudioBuffer::on_data(const PCMData& in)
{
    liba::Lock guard(lock);
    if (!in.same_format(stored)) {
        count_ = 0;
        std::int64_t capacity = truncate_count(in.sample_rate * duration_) * in.block_size();
        // A capacity that a 32-bit byte count cannot describe holds nothing.
        if (capacity < 0 || capacity > std::numeric_limits<std::int32_t>::max())
            capacity = 0;
        stored = PCMData(liba::Buffer(static_cast<std::int32_t>(capacity)), in.channels,
            in.bits_per_sample, in.sample_rate);
    }
    std::int32_t n = std::min(stored.length() - count_, in.length());
    if (n <= 0)
        return;
    std::memcpy(stored.data.writable_data() + count_, in.bytes(), static_cast<std::size_t>(n));
    count_ += n;
}

PCMData AudioBuffer::get_data(std::int32_t count)
{
    liba::Lock guard(lock);
    std::int32_t n = std::clamp(count, 0, count_);
    PCMData out(liba::Buffer(n, stored.bytes()), stored.channels, stored.bits_per_sample,
        stored.sample_rate);
    if (n > 0) {
        std::uint8_t* bytes = stored.data.writable_data();
        std::memmove(bytes, bytes + n, static_cast<std::size_t>(count_ - n));
        count_ -= n;
    }
    return out;
}

double AudioBuffer::recorded_seconds()
{
    liba::Lock guard(lock);
    double per_second = static_cast<double>(stored.sample_rate) * stored.block_size();
    return per_second == 0 ? 0 : count_ / per_second;
}

PCMData AudioBuffer::take(double seconds)
{
    liba::Lock guard(lock);
    std::int64_t bytes = truncate_count(stored.sample_rate * seconds) * stored.block_size();
    return get_data(static_cast<std::int32_t>(std::clamp<std::int64_t>(bytes, 0, count_)));
}

} // namespace audio
