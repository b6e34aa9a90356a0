#pragma once

#include "audio/Link.h"
#include "audio/PCMData.h"
#include "audio/Recorder.h"

#include <memory>

namespace audio {

class RecorderPCMImpl;

// Captures microphone audio and pushes it, block by block, from its capture
// thread to the linked consumer. Construction opens the input device and
// queues the capture buffers; start() begins capturing. The owner unlinks
// the recorder before destroying it: the destructor still pushes what the
// device hands back.
class RecorderPCM : public Recorder, public Provider<PCMData> {
public:
    RecorderPCM(std::int32_t channels, std::int32_t sample_rate, std::int32_t bits);
    ~RecorderPCM() override;

    // The recorder only pushes; pulling from it is a programming error.
    PCMData get_data(std::int32_t count) override;

    bool start() override;
    bool stop() override;
    bool is_stopped() override;
    bool is_open() override;
    std::int32_t get_channels() override;
    std::int32_t get_bits_per_sample() override;
    std::int32_t get_sample_rate() override;
    std::int32_t get_bit_rate() override;

private:
    std::unique_ptr<RecorderPCMImpl> impl;
};

} // namespace audio
