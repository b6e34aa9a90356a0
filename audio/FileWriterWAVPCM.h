#pragma once

#include "audio/Encoder.h"
#include "audio/FileWriterWAV.h"
#include "audio/PCMData.h"
#include "audio/WAVInfo.h"

namespace audio {

// Writes uncompressed PCM in the format of the first block it sees; blocks
// of another format are passed on but not written.
class FileWriterWAVPCM : public FileWriterWAV<WAVInfoPCM, PCMData>, public Encoder {
public:
    explicit FileWriterWAVPCM(const std::u16string& path, bool append = false);
    ~FileWriterWAVPCM() override;

    bool set_format(const PCMData& block) override;
    bool write_data(const PCMData& block) override;

    std::int64_t bit_rate() const override;
};

} // namespace audio
