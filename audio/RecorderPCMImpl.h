#pragma once

#include "audio/DeviceThread.h"
#include "liba/CriticalSection.h"
#include "platform/WaveDevice.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>

namespace audio {

class RecorderPCM;

// The capture side of a RecorderPCM: the input device, twenty buffers of
// 5000 frames queued with it, and the capture thread that receives the
// device's notifications as thread messages and pushes each returned buffer.
// The capture lock guards the device and the flags.
class RecorderPCMImpl : public DeviceThread {
public:
    static constexpr int BUFFER_COUNT = 20;
    static constexpr std::int32_t BUFFER_FRAMES = 5000;

    RecorderPCMImpl(
        RecorderPCM& owner, std::int32_t channels, std::int32_t sample_rate, std::int32_t bits);
    ~RecorderPCMImpl() override;

    liba::CriticalSection lock;
    RecorderPCM& owner;
    std::array<platform::WaveHeader, BUFFER_COUNT> headers {};
    std::array<std::unique_ptr<std::uint8_t[]>, BUFFER_COUNT> buffers;
    platform::WaveHandle device { 0 };
    std::int32_t buffer_bytes { 0 };
    bool capturing { true };
    bool stopped { false };
    std::atomic<bool> closing { false };
    std::int32_t channels;
    std::int32_t sample_rate;
    std::int32_t bits;

protected:
    void on_message(const platform::Message& message) override;

private:
    void on_data(platform::WaveHeader* header);
};

} // namespace audio
