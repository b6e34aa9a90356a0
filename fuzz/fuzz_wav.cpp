// Reads arbitrary bytes as a WAV file the way the player and the tag tools
// do: header, block reads, seeks and a delivery into the capture buffer.
#include "audio/AudioBuffer.h"
#include "audio/FileReaderWAVPCM.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string path = "/tmp/fuzz_wav." + std::to_string(getpid()) + ".wav";
    if (FILE* out = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, out);
        std::fclose(out);
    }
    audio::FileReaderWAVPCM reader(std::u16string(path.begin(), path.end()));
    if (size > 0 && data[0] < 16)
        reader.rewind(data[0]);
    while (reader.get_data(4096).length() > 0) { }
    reader.seek(reader.data_size() / 2);
    reader.get_data(1000);
    reader.seek(INT64_MAX / 4);
    reader.get_data(1000);
    reader.seek_seconds(0);
    // Only the capture format reaches a capture buffer, as in the tag tools.
    if (reader.get_sample_rate() != 22050 || reader.get_channels() != 1
        || reader.get_bits_per_sample() != 16)
        return 0;
    audio::AudioBuffer buffer;
    buffer.set_duration(2.7);
    audio::connect<audio::PCMData>(reader, &buffer);
    reader.deliver_seconds(3.0);
    buffer.take(buffer.recorded_seconds());
    return 0;
}
