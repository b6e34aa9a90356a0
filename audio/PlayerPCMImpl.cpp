#include "audio/PlayerPCMImpl.h"

#include "audio/PlayerPCM.h"
#include "audio/Truncate.h"
#include "platform/MessageQueue.h"

#include <algorithm>
#include <cstring>

namespace audio {

PlayerPCMImpl::PlayerPCMImpl(PlayerPCM& owner)
    : owner(owner)
{
    start_thread();
}

PlayerPCMImpl::~PlayerPCMImpl()
{
    request_stop();
    stop_thread(WAKE_UP);
}

bool PlayerPCMImpl::wake_up()
{
    return post(WAKE_UP);
}

void PlayerPCMImpl::on_message(const platform::Message& message)
{
    liba::Lock guard(owner.lock);
    switch (message.message) {
    case WAKE_UP:
        on_wake_up();
        break;
    case platform::MM_WOM_OPEN:
        device = static_cast<platform::WaveHandle>(message.wparam);
        {
            auto level = static_cast<std::uint32_t>(truncate_count(volume * 65535.0));
            platform::wave_out_set_volume(device, level | level << 16);
        }
        advance();
        break;
    case platform::MM_WOM_DONE: {
        auto* header = reinterpret_cast<platform::WaveHeader*>(message.lparam);
        header->user = 0;
        platform::wave_out_unprepare_header(device, header);
        advance();
        break;
    }
    case platform::MM_WOM_CLOSE:
        if (state == Draining) {
            reset();
            finished = true;
        }
        break;
    default:
        break;
    }
}

void PlayerPCMImpl::on_loop_end()
{
    liba::Lock guard(owner.lock);
    if (device) {
        platform::wave_out_reset(device);
        platform::wave_out_close(device);
        device = 0;
    }
}

void PlayerPCMImpl::on_wake_up()
{
    if (!play_requested || state != Idle)
        return;
    if (chunk.length() - chunk_used <= 0)
        pull_chunk();
    if (chunk.length() - chunk_used > 0) {
        channels = chunk.channels;
        bits = chunk.bits_per_sample;
        sample_rate = chunk.sample_rate;
        state = Playing;
        open_device();
    } else if (!any_queued()) {
        finished = true;
    }
}

void PlayerPCMImpl::pull_chunk()
{
    chunk = pull(static_cast<Consumer<PCMData>&>(owner), PULL_FRAMES);
    chunk_used = 0;
    played_frames += chunk.frames();
}

void PlayerPCMImpl::open_device()
{
    if (device)
        return;
    platform::WaveFormat format;
    format.format_tag = platform::WAVE_FORMAT_PCM;
    format.channels = static_cast<std::uint16_t>(channels);
    format.samples_per_second = static_cast<std::uint32_t>(sample_rate);
    format.block_align = static_cast<std::uint16_t>(bits * channels / 8);
    format.avg_bytes_per_second = static_cast<std::uint32_t>(sample_rate) * format.block_align;
    format.bits_per_sample = static_cast<std::uint16_t>(bits);
    format.extra_size = 0;
    platform::WaveHandle opened = 0;
    if (!platform::wave_out_open(
            opened, platform::WAVE_MAPPER, format, thread_id(), platform::CALLBACK_THREAD)) {
        // Nothing will play this audio, and no notification will come:
        // drop it and stay ready for the next request instead of waiting
        // for ever in the playing state.
        state = Idle;
        chunk = PCMData();
        chunk_used = 0;
        return;
    }
    device = opened;
    std::int32_t size = format.block_align * (sample_rate * 200 / 1000);
    if (size != buffer_bytes) {
        buffer_bytes = size;
        for (auto& buffer : buffers)
            buffer = std::make_unique<std::uint8_t[]>(static_cast<std::size_t>(std::max(size, 0)));
    }
    for (int i = 0; i < BUFFER_COUNT; ++i) {
        headers[i] = platform::WaveHeader();
        headers[i].data = buffers[i].get();
    }
    played_frames = 0;
}

void PlayerPCMImpl::advance()
{
    if (state == Playing && fill())
        state = Draining;
    if (state == Draining && !any_queued() && device)
        platform::wave_out_close(device);
}

bool PlayerPCMImpl::fill()
{
    for (auto& header : headers) {
        if (header.user != 0)
            continue;
        std::int32_t filled = 0;
        while (filled < buffer_bytes) {
            if (chunk.length() - chunk_used <= 0) {
                pull_chunk();
                bool same_format = chunk.channels == channels && chunk.bits_per_sample == bits
                    && chunk.sample_rate == sample_rate;
                if (chunk.length() == 0 || !same_format)
                    break;
            }
            std::int32_t n = std::min(buffer_bytes - filled, chunk.length() - chunk_used);
            std::memcpy(
                header.data + filled, chunk.bytes() + chunk_used, static_cast<std::size_t>(n));
            filled += n;
            chunk_used += n;
        }
        header.buffer_length = static_cast<std::uint32_t>(filled);
        header.user = 1;
        platform::wave_out_prepare_header(device, &header);
        platform::wave_out_write(device, &header);
        if (filled < buffer_bytes)
            return true;
    }
    return false;
}

bool PlayerPCMImpl::any_queued() const
{
    return std::any_of(headers.begin(), headers.end(),
        [](const platform::WaveHeader& header) { return header.user != 0; });
}

void PlayerPCMImpl::reset()
{
    for (auto& header : headers) {
        if (header.user != 0) {
            platform::wave_out_unprepare_header(device, &header);
            header.user = 0;
        }
    }
    state = Idle;
    played_frames = 0;
    channels = 0;
    bits = 0;
    sample_rate = 0;
    device = 0;
    platform::post_thread_message(thread_id(), WAKE_UP);
}

} // namespace audio
