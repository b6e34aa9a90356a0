#include "audio/RecorderPCMImpl.h"

#include "audio/RecorderPCM.h"

#include <algorithm>

namespace audio {

namespace {

constexpr unsigned THREAD_START_MILLISECONDS = 5000;

} // namespace

RecorderPCMImpl::RecorderPCMImpl(
    RecorderPCM& owner, std::int32_t channels, std::int32_t sample_rate, std::int32_t bits)
    : owner(owner)
    , channels(channels)
    , sample_rate(sample_rate)
    , bits(bits)
{
    // Bytes of one sample frame: whole bytes per sample, times the channels.
    std::int32_t block = (bits + 7) / 8 * channels;
    buffer_bytes = block * BUFFER_FRAMES;
    if (!start_thread() || !wait_until_ready(THREAD_START_MILLISECONDS))
        return;

    platform::WaveFormat format;
    format.format_tag = platform::WAVE_FORMAT_PCM;
    format.channels = static_cast<std::uint16_t>(channels);
    format.samples_per_second = static_cast<std::uint32_t>(sample_rate);
    format.avg_bytes_per_second = static_cast<std::uint32_t>(sample_rate * block);
    format.block_align = static_cast<std::uint16_t>(block);
    format.bits_per_sample = static_cast<std::uint16_t>(bits);
    format.extra_size = 0;

    liba::Lock guard(lock);
    if (buffer_bytes <= 0
        || !platform::wave_in_open(
            device, platform::WAVE_MAPPER, format, thread_id(), platform::CALLBACK_THREAD)) {
        device = 0;
        return;
    }
    for (int i = 0; i < BUFFER_COUNT; ++i) {
        buffers[i] = std::make_unique<std::uint8_t[]>(static_cast<std::size_t>(buffer_bytes));
        headers[i] = platform::WaveHeader();
        headers[i].data = buffers[i].get();
        headers[i].buffer_length = static_cast<std::uint32_t>(buffer_bytes);
        platform::wave_in_prepare_header(device, &headers[i]);
        platform::wave_in_add_buffer(device, &headers[i]);
    }
}

RecorderPCMImpl::~RecorderPCMImpl()
{
    closing.store(true);
    {
        liba::Lock guard(lock);
        if (device) {
            // The reset hands every queued buffer back; the capture thread
            // still pushes them before it sees the quit message.
            platform::wave_in_reset(device);
            platform::wave_in_close(device);
        }
    }
    stop_thread(platform::WM_QUIT);
}

void RecorderPCMImpl::on_message(const platform::Message& message)
{
    switch (message.message) {
    case platform::MM_WIM_CLOSE: {
        liba::Lock guard(lock);
        device = 0;
        stopped = true;
        break;
    }
    case platform::MM_WIM_DATA:
        on_data(reinterpret_cast<platform::WaveHeader*>(message.lparam));
        break;
    default:
        break;
    }
}

void RecorderPCMImpl::on_data(platform::WaveHeader* header)
{
    liba::Lock guard(lock);
    platform::wave_in_unprepare_header(device, header);
    PCMData block(liba::Buffer(static_cast<std::int32_t>(header->bytes_recorded), header->data),
        channels, bits, sample_rate);
    push(static_cast<Provider<PCMData>&>(owner), block);

    // When every buffer has come back at once the thread fell behind the
    // device by all of them: capture ends rather than run on with gaps.
    capturing = !std::all_of(headers.begin(), headers.end(), [](platform::WaveHeader& each) {
        return platform::wave_flags(each) & platform::WHDR_DONE;
    });
    if (!capturing)
        return;
    header->bytes_recorded = 0;
    header->user = 0;
    platform::set_wave_flags(*header, 0);
    if (!closing.load()) {
        platform::wave_in_prepare_header(device, header);
        platform::wave_in_add_buffer(device, header);
    }
}

} // namespace audio
