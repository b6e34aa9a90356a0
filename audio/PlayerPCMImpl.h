#pragma once

#include "audio/DeviceThread.h"
#include "audio/PCMData.h"
#include "platform/WaveDevice.h"

#include <array>
#include <cstdint>
#include <memory>

namespace audio {

class PlayerPCM;

// The playback side of a PlayerPCM: the output device, six buffers of
// 200 ms, and the playback thread that pulls audio, fills the free buffers
// and handles the device's notifications. Its state is guarded by the
// player's consumer lock.
class PlayerPCMImpl : public DeviceThread {
public:
    static constexpr int BUFFER_COUNT = 6;
    static constexpr std::int32_t PULL_FRAMES = 16384;
    static constexpr std::uint32_t WAKE_UP = 0x400;

    enum State { Idle = 0, Playing = 1, Draining = 2 };

    explicit PlayerPCMImpl(PlayerPCM& owner);
    ~PlayerPCMImpl() override;

    // Posts the wake-up message once the thread is ready; false when it
    // could not be posted.
    bool wake_up();

    PlayerPCM& owner;
    std::array<platform::WaveHeader, BUFFER_COUNT> headers {};
    std::array<std::unique_ptr<std::uint8_t[]>, BUFFER_COUNT> buffers;
    platform::WaveHandle device { 0 };
    double volume { 1.0 };
    std::int32_t channels { 0 };
    std::int32_t bits { 0 };
    std::int32_t sample_rate { 0 };
    std::int32_t buffer_bytes { 0 };
    std::int64_t played_frames { 0 };
    PCMData chunk;
    std::int32_t chunk_used { 0 }; // bytes of `chunk` already copied
    State state { Idle };
    bool play_requested { false };
    bool finished { true };

protected:
    void on_message(const platform::Message& message) override;
    void on_loop_end() override;

private:
    void on_wake_up();
    void open_device();
    void advance();
    // Fills the free buffers and queues them; true when the audio ran out.
    bool fill();
    void pull_chunk();
    bool any_queued() const;
    void reset();
};

} // namespace audio
