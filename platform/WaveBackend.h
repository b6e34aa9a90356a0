#pragma once

#include "platform/WaveDevice.h"

#include <atomic>
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace platform::wave {

// One open waveform device: its queue of buffers and the thread it reports
// to. A backend moves audio through the queue from its own thread (a pacing
// thread or the sound system's callback): capture() fills the buffers at the
// front and hands each full one back; play() drains them.
class Device {
public:
    Device(WaveHandle handle, bool input, const WaveFormat& format, ThreadId callback);
    virtual ~Device() = default;

    // Let audio flow, or pause it. Output devices flow from their opening.
    virtual bool start() = 0;
    virtual void pause() = 0;
    // Ends the backend's thread or callback for good; called without the lock.
    virtual void shutdown() = 0;

    // Input: copies captured bytes into the queued buffers.
    void capture(const std::uint8_t* bytes, std::size_t count);
    // Output: copies up to `count` queued bytes to `out` (at the device
    // volume) and returns how many there were.
    std::size_t play(std::uint8_t* out, std::size_t count);

    // Hands every queued buffer back, marked done.
    void return_all();
    // Input only: hands back the buffer being filled if it holds anything.
    void return_partial();
    bool add(WaveHeader* header);
    bool has_queued();

    const WaveHandle handle;
    const bool input;
    const WaveFormat format;
    const ThreadId callback;
    std::atomic<std::uint32_t> volume { 0xFFFFFFFF };

protected:
    void complete_front_locked();

    std::mutex mutex;
    std::deque<WaveHeader*> queue;
    std::size_t position { 0 }; // bytes done of the front buffer
};

// The samples of a WAV file image that the file microphone can play
// (16-bit mono PCM at 22 050 Hz); nothing for any other image.
std::optional<std::vector<std::uint8_t>> microphone_samples(
    const std::uint8_t* file, std::size_t size);

// The backends; each returns nothing when it cannot open.
std::shared_ptr<Device> open_file_input(
    WaveHandle handle, const WaveFormat& format, ThreadId callback);
std::shared_ptr<Device> open_file_output(
    WaveHandle handle, const WaveFormat& format, ThreadId callback);
std::shared_ptr<Device> open_sdl_device(
    WaveHandle handle, bool input, const WaveFormat& format, ThreadId callback);

} // namespace platform::wave
