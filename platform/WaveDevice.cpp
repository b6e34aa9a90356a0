#include "platform/WaveDevice.h"

#include "platform/LittleEndian.h"
#include "platform/MessageQueue.h"
#include "platform/PlaybackCount.h"
#include "platform/WaveBackend.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>

namespace platform {

namespace wave {

Device::Device(WaveHandle handle, bool input, const WaveFormat& format, ThreadId callback)
    : handle(handle)
    , input(input)
    , format(format)
    , callback(callback)
{
}

void Device::complete_front_locked()
{
    WaveHeader* header = queue.front();
    queue.pop_front();
    position = 0;
    set_wave_flags(*header, (wave_flags(*header) & ~WHDR_INQUEUE) | WHDR_DONE);
    post_thread_message(
        callback, input ? MM_WIM_DATA : MM_WOM_DONE, handle, reinterpret_cast<Lparam>(header));
}

void Device::capture(const std::uint8_t* bytes, std::size_t count)
{
    std::lock_guard guard(mutex);
    while (count > 0 && !queue.empty()) {
        WaveHeader* header = queue.front();
        std::size_t n
            = std::min<std::size_t>(count, header->buffer_length - header->bytes_recorded);
        std::memcpy(header->data + header->bytes_recorded, bytes, n);
        header->bytes_recorded += static_cast<std::uint32_t>(n);
        bytes += n;
        count -= n;
        if (header->bytes_recorded == header->buffer_length)
            complete_front_locked();
    }
}

std::size_t Device::play(std::uint8_t* out, std::size_t count)
{
    std::lock_guard guard(mutex);
    std::size_t done = 0;
    while (done < count && !queue.empty()) {
        WaveHeader* header = queue.front();
        std::size_t n = std::min(count - done, header->buffer_length - position);
        std::memcpy(out + done, header->data + position, n);
        position += n;
        done += n;
        if (position == header->buffer_length)
            complete_front_locked();
    }
    // Without a volume of its own, the device scales the samples.
    std::uint32_t level = volume.load();
    if (level != 0xFFFFFFFF && format.bits_per_sample == 16) {
        std::size_t channels = std::max<std::size_t>(format.channels, 1);
        for (std::size_t i = 0; i + 1 < done; i += 2) {
            std::uint32_t channel_level
                = (i / 2) % channels == 0 ? (level & 0xFFFF) : (level >> 16);
            std::int16_t sample = read_i16le(out + i);
            auto scaled = static_cast<std::int16_t>(
                sample * static_cast<std::int32_t>(channel_level) / 0xFFFF);
            write_u16le(out + i, static_cast<std::uint16_t>(scaled));
        }
    }
    return done;
}

void Device::return_all()
{
    std::lock_guard guard(mutex);
    while (!queue.empty())
        complete_front_locked();
}

void Device::return_partial()
{
    std::lock_guard guard(mutex);
    if (!queue.empty() && queue.front()->bytes_recorded > 0)
        complete_front_locked();
}

bool Device::add(WaveHeader* header)
{
    std::lock_guard guard(mutex);
    std::uint32_t flags = wave_flags(*header);
    if (!(flags & WHDR_PREPARED) || (flags & WHDR_INQUEUE)
        || (!header->data && header->buffer_length > 0))
        return false;
    if (input)
        header->bytes_recorded = 0;
    set_wave_flags(*header, (flags & ~WHDR_DONE) | WHDR_INQUEUE);
    queue.push_back(header);
    return true;
}

bool Device::has_queued()
{
    std::lock_guard guard(mutex);
    return !queue.empty();
}

} // namespace wave

namespace {

using wave::Device;

std::mutex devices_mutex;
std::map<WaveHandle, std::shared_ptr<Device>> devices;
WaveHandle next_handle = 0;

std::shared_ptr<Device> find(WaveHandle handle, bool input)
{
    std::lock_guard guard(devices_mutex);
    auto found = devices.find(handle);
    if (found == devices.end() || found->second->input != input)
        return nullptr;
    return found->second;
}

bool usable(std::uint32_t device, const WaveFormat& format, ThreadId callback, std::uint32_t flags)
{
    return device == WAVE_MAPPER && flags == CALLBACK_THREAD && format.format_tag == WAVE_FORMAT_PCM
        && (format.channels == 1 || format.channels == 2)
        && (format.bits_per_sample == 8 || format.bits_per_sample == 16)
        && format.samples_per_second > 0
        && format.block_align == format.channels * format.bits_per_sample / 8
        && has_message_queue(callback);
}

bool open(WaveHandle& handle, bool input, std::uint32_t device, const WaveFormat& format,
    ThreadId callback, std::uint32_t flags)
{
    handle = 0;
    if (!usable(device, format, callback, flags))
        return false;
    WaveHandle id;
    {
        std::lock_guard guard(devices_mutex);
        id = ++next_handle;
    }
    const char* file = std::getenv(input ? "RINGWISE_MIC" : "RINGWISE_SPEAKER");
    std::shared_ptr<Device> opened;
    if (file && *file)
        opened = input ? wave::open_file_input(id, format, callback)
                       : wave::open_file_output(id, format, callback);
    else
        opened = wave::open_sdl_device(id, input, format, callback);
    if (!opened)
        return false;
    {
        std::lock_guard guard(devices_mutex);
        devices[id] = opened;
    }
    handle = id;
    post_thread_message(callback, input ? MM_WIM_OPEN : MM_WOM_OPEN, id, 0);
    return true;
}

bool prepare(WaveHandle handle, bool input, WaveHeader* header)
{
    if (!header || !find(handle, input))
        return false;
    set_wave_flags(*header, wave_flags(*header) | WHDR_PREPARED);
    return true;
}

bool unprepare(WaveHandle handle, bool input, WaveHeader* header)
{
    if (!header || !find(handle, input) || (wave_flags(*header) & WHDR_INQUEUE))
        return false;
    set_wave_flags(*header, wave_flags(*header) & ~WHDR_PREPARED);
    return true;
}

bool close(WaveHandle handle, bool input)
{
    std::shared_ptr<Device> device = find(handle, input);
    if (!device || device->has_queued())
        return false;
    {
        std::lock_guard guard(devices_mutex);
        devices.erase(handle);
    }
    device->shutdown();
    // Counted once its last bytes have reached the device.
    if (!input)
        count_finished_playback();
    post_thread_message(device->callback, input ? MM_WIM_CLOSE : MM_WOM_CLOSE, handle, 0);
    return true;
}

} // namespace

bool wave_in_open(WaveHandle& handle, std::uint32_t device, const WaveFormat& format,
    ThreadId callback, std::uint32_t flags)
{
    return open(handle, true, device, format, callback, flags);
}

bool wave_in_prepare_header(WaveHandle handle, WaveHeader* header)
{
    return prepare(handle, true, header);
}

bool wave_in_unprepare_header(WaveHandle handle, WaveHeader* header)
{
    return unprepare(handle, true, header);
}

bool wave_in_add_buffer(WaveHandle handle, WaveHeader* header)
{
    auto device = find(handle, true);
    return device && header && device->add(header);
}

bool wave_in_start(WaveHandle handle)
{
    auto device = find(handle, true);
    return device && device->start();
}

bool wave_in_stop(WaveHandle handle)
{
    auto device = find(handle, true);
    if (!device)
        return false;
    device->pause();
    device->return_partial();
    return true;
}

bool wave_in_reset(WaveHandle handle)
{
    auto device = find(handle, true);
    if (!device)
        return false;
    device->pause();
    device->return_all();
    return true;
}

bool wave_in_close(WaveHandle handle)
{
    return close(handle, true);
}

bool wave_out_open(WaveHandle& handle, std::uint32_t device, const WaveFormat& format,
    ThreadId callback, std::uint32_t flags)
{
    return open(handle, false, device, format, callback, flags);
}

bool wave_out_prepare_header(WaveHandle handle, WaveHeader* header)
{
    return prepare(handle, false, header);
}

bool wave_out_unprepare_header(WaveHandle handle, WaveHeader* header)
{
    return unprepare(handle, false, header);
}

bool wave_out_write(WaveHandle handle, WaveHeader* header)
{
    auto device = find(handle, false);
    return device && header && device->add(header);
}

bool wave_out_reset(WaveHandle handle)
{
    auto device = find(handle, false);
    if (!device)
        return false;
    device->return_all();
    return true;
}

bool wave_out_close(WaveHandle handle)
{
    return close(handle, false);
}

bool wave_out_set_volume(WaveHandle handle, std::uint32_t volume)
{
    auto device = find(handle, false);
    if (!device)
        return false;
    device->volume.store(volume);
    return true;
}

} // namespace platform
