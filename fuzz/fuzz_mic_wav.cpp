// Reads arbitrary bytes as the WAV file that the file microphone plays.
#include "platform/WaveBackend.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    auto samples = platform::wave::microphone_samples(data, size);
    if (samples && samples->size() > size)
        __builtin_trap();
    return 0;
}
