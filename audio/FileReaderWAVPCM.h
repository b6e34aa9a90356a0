#pragma once

#include "audio/FileReaderWAV.h"
#include "audio/Link.h"
#include "audio/PCMData.h"

namespace audio {

// Reads a WAV file of uncompressed PCM and provides its samples, pulled in
// sample frames with get_data() or pushed to the linked consumer with
// deliver(). The player pulls from it on the playback thread.
class FileReaderWAVPCM : public Provider<PCMData>, public FileReaderWAV {
public:
    // Opens the file and reads its header from the start.
    explicit FileReaderWAVPCM(const std::u16string& path);
    ~FileReaderWAVPCM() override;

    // Reads the header of a WAV image that starts at `position` in the file
    // (0 for a file of its own) and makes it the audio read from now on.
    bool rewind(std::uint32_t position);

    // At most `frames` sample frames from the current position; an empty
    // block at the end of the data or when the reader is not good.
    PCMData get_data(std::int32_t frames) override;

    std::int64_t bytes_for_seconds(double seconds) override;
    double seconds_for_bytes(std::int64_t bytes) override;
    std::int64_t data_size() override;
    std::int64_t position() override;
    void seek(std::int64_t bytes) override;
    bool deliver_seconds(double seconds) override;
    bool deliver(std::int64_t bytes) override;
    const WAVInfo& info() override { return header; }

    // Frames handed out per block by deliver().
    static constexpr std::int64_t DELIVER_FRAMES = 5000;

private:
    WAVInfoPCM header;
};

} // namespace audio
