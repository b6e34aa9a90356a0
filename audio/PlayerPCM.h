#pragma once

#include "audio/Link.h"
#include "audio/PCMData.h"
#include "liba/Nocopy.h"

#include <memory>

namespace audio {

class PlayerPCMImpl;

// Plays the audio it pulls from the linked provider (a WAV reader) through
// the output device, on a playback thread of its own. The user-interface
// thread only requests playback and asks whether it has finished. Playback
// of a file ends when its audio ends, or earlier when its reader goes away.
class PlayerPCM : public Consumer<PCMData>, liba::Nocopy {
public:
    // Time added to a file's duration when waiting for its playback to end,
    // for an output device that is slow to open or never does.
    static constexpr double WAIT_MARGIN_SECONDS = 2.0;

    PlayerPCM();
    ~PlayerPCM() override;

    // The player only pulls; pushing to it is a programming error.
    void on_data(const PCMData& block) override;

    // Starts playing what the provider holds; does nothing while playing.
    bool play();
    bool is_finished();

    // 0.0 to 1.0, applied when the device opens.
    void set_volume(double volume);
    double volume();

    // Polls is_finished() every 10 ms for at most `audio_seconds` plus the
    // margin; true when playback finished in that time.
    bool wait_until_finished(double audio_seconds);

private:
    friend class PlayerPCMImpl;
    std::unique_ptr<PlayerPCMImpl> impl;
};

} // namespace audio
