#pragma once

#include <cstdint>

namespace audio {

// A writer of audio into a file.
class FileWriter {
public:
    virtual ~FileWriter() = default;
    // Whether the file is usable and every write so far succeeded.
    virtual bool is_good() const = 0;
    // Audio bytes written so far.
    virtual std::int64_t size() const = 0;
};

} // namespace audio
