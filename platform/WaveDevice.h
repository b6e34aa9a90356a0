#pragma once

#include "platform/Message.h"

#include <atomic>
#include <cstdint>

namespace platform {

// The device's waveform input and output model: open a device with a
// format and a thread that receives its notifications as thread messages,
// prepare and queue buffers, start, stop, reset (which hands every queued
// buffer back, marked done), close. Notifications carry the device handle in
// wparam and, for data and done, the buffer's header in lparam.
//
// Backends: RINGWISE_MIC names a WAV file (16-bit mono PCM at 22 050 Hz)
// that the microphone plays, followed by silence; RINGWISE_SPEAKER names a
// WAV file that receives everything played. Both pace themselves in real
// time. Otherwise the system's devices through SDL audio; an open without a
// device fails.

struct WaveFormat {
    std::uint16_t format_tag { 0 };
    std::uint16_t channels { 0 };
    std::uint32_t samples_per_second { 0 };
    std::uint32_t avg_bytes_per_second { 0 };
    std::uint16_t block_align { 0 };
    std::uint16_t bits_per_sample { 0 };
    std::uint16_t extra_size { 0 };
};

// One buffer handed to a device. The caller owns the header and its data and
// keeps both alive while the header is prepared.
struct WaveHeader {
    std::uint8_t* data { nullptr };
    std::uint32_t buffer_length { 0 };
    std::uint32_t bytes_recorded { 0 };
    std::uintptr_t user { 0 };
    std::uint32_t flags { 0 };
    std::uint32_t loops { 0 };
    WaveHeader* next { nullptr };
    std::uintptr_t reserved { 0 };
};

using WaveHandle = std::uint32_t;

// A header's flags change on the device's own thread while it is queued;
// read and write them through these.
inline std::uint32_t wave_flags(WaveHeader& header)
{
    return std::atomic_ref<std::uint32_t>(header.flags).load();
}
inline void set_wave_flags(WaveHeader& header, std::uint32_t flags)
{
    std::atomic_ref<std::uint32_t>(header.flags).store(flags);
}

inline constexpr std::uint32_t WAVE_MAPPER = 0xFFFFFFFF;
inline constexpr std::uint32_t CALLBACK_THREAD = 0x20000;
inline constexpr std::uint16_t WAVE_FORMAT_PCM = 1;

inline constexpr std::uint32_t WHDR_DONE = 0x01;
inline constexpr std::uint32_t WHDR_PREPARED = 0x02;
inline constexpr std::uint32_t WHDR_INQUEUE = 0x10;

inline constexpr std::uint32_t MM_WOM_OPEN = 0x3BB;
inline constexpr std::uint32_t MM_WOM_CLOSE = 0x3BC;
inline constexpr std::uint32_t MM_WOM_DONE = 0x3BD;
inline constexpr std::uint32_t MM_WIM_OPEN = 0x3BE;
inline constexpr std::uint32_t MM_WIM_CLOSE = 0x3BF;
inline constexpr std::uint32_t MM_WIM_DATA = 0x3C0;

// Every operation returns true on success. Only the wave mapper and thread
// callbacks are offered; the callback thread must have a message queue.
bool wave_in_open(WaveHandle& handle, std::uint32_t device, const WaveFormat& format,
    ThreadId callback, std::uint32_t flags);
bool wave_in_prepare_header(WaveHandle handle, WaveHeader* header);
// Fails while the buffer is queued.
bool wave_in_unprepare_header(WaveHandle handle, WaveHeader* header);
bool wave_in_add_buffer(WaveHandle handle, WaveHeader* header);
bool wave_in_start(WaveHandle handle);
bool wave_in_stop(WaveHandle handle);
bool wave_in_reset(WaveHandle handle);
// Fails while buffers are queued.
bool wave_in_close(WaveHandle handle);

bool wave_out_open(WaveHandle& handle, std::uint32_t device, const WaveFormat& format,
    ThreadId callback, std::uint32_t flags);
bool wave_out_prepare_header(WaveHandle handle, WaveHeader* header);
bool wave_out_unprepare_header(WaveHandle handle, WaveHeader* header);
bool wave_out_write(WaveHandle handle, WaveHeader* header);
bool wave_out_reset(WaveHandle handle);
bool wave_out_close(WaveHandle handle);
// Low word the left channel, high word the right, 0xFFFF full volume.
bool wave_out_set_volume(WaveHandle handle, std::uint32_t volume);

} // namespace platform
