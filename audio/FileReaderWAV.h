#pragma once

#include "audio/FileReader.h"
#include "liba/CriticalSection.h"
#include "os/File.h"

#include <memory>
#include <string>

namespace audio {

// The part of a WAV file reader that does not depend on the sample format:
// the open file, whether its header was accepted, and the lock that every
// operation holds, since the player pulls on its own thread.
class FileReaderWAV : public FileReader {
public:
    explicit FileReaderWAV(const std::u16string& path);
    ~FileReaderWAV() override;

    bool is_good() override;
    bool is_end() override;
    std::int32_t get_channels() override;
    std::int32_t get_bits_per_sample() override;
    std::int32_t get_sample_rate() override;
    std::int64_t get_bit_rate() override;

protected:
    std::unique_ptr<os::File> file;
    bool good { false };
    liba::CriticalSection lock;
};

} // namespace audio
