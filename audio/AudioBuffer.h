#pragma once

#include "audio/Link.h"
#include "audio/PCMData.h"

namespace audio {

// Collects pushed audio up to a fixed duration and hands it out on pull.
// Filled on the capture thread, read on the user-interface thread; every
// operation holds the consumer lock, which push() already holds when it
// calls on_data(), so the lock is re-entrant. Audio that arrives while the
// buffer is full is dropped: it keeps the first `duration` seconds.
class AudioBuffer : public Consumer<PCMData>, public Provider<PCMData> {
public:
    AudioBuffer() = default;
    ~AudioBuffer() override;

    // Empties the buffer. The storage keeps its size until a block of
    // another format arrives; the new duration applies from then on.
    void set_duration(double seconds);

    void on_data(const PCMData& in) override;
    // At most `count` bytes from the front, in the format held (an empty
    // buffer gives an empty block that still carries the format).
    PCMData get_data(std::int32_t count) override;

    double recorded_seconds();
    PCMData take(double seconds);

    double duration();
    // Bytes held.
    std::int32_t count();

private:
    PCMData stored;
    double duration_ { 0 };
    std::int32_t count_ { 0 };
};

} // namespace audio
