#pragma once

#include "audio/AudioBuffer.h"
#include "audio/FileReaderWAVPCM.h"
#include "audio/PlayerPCM.h"
#include "audio/RecorderPCM.h"
#include "engine/FeatureSet.h"
#include "liba/Stopwatch.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The document's audio: a capture from the microphone into the capture
// buffer, and playback of WAV files through the player. At most one of the
// two runs at a time. Owned on the user-interface thread; only the capture
// buffer is filled from the capture thread, under the buffer's own lock.
class AudioSession {
public:
    AudioSession() = default;
    ~AudioSession();

    // Starts capturing into the capture buffer (emptied, limited to 2.7 s)
    // with a new recorder; false when the input device cannot be opened or
    // the capture does not start.
    bool start_recording();
    // Seconds since the capture started.
    double elapsed() const;
    // Stops the capture and analyses what it holds after the lead-in; true
    // when the utterance has at least one frame.
    bool finish_recording(FeatureSet& features);
    // Takes everything from the capture buffer and gives the samples after
    // the lead-in; empty when it holds audio of another format or no more
    // than the lead-in.
    std::vector<std::int16_t> take_capture();
    // Unlinks, stops and destroys the current file source and the recorder.
    void stop_audio();
    // Plays the WAV image that starts at `offset` in the file (0 for a file
    // of its own); with `wait`, returns when playback has finished, or after
    // the file's duration and a margin when the output device never plays.
    void play_file(const std::u16string& path, std::uint32_t offset, bool wait);
    // Plays a file of its own without waiting.
    void play(const std::u16string& path);

    audio::AudioBuffer& capture_buffer() { return capture_buffer_; }
    audio::PlayerPCM& player() { return player_; }
    bool has_recorder() const { return recorder_ != nullptr; }
    bool has_file_source() const { return file_source_ != nullptr; }

private:
    void release_recorder();

    audio::AudioBuffer capture_buffer_;
    audio::PlayerPCM player_;
    std::unique_ptr<audio::FileReaderWAVPCM> file_source_;
    std::unique_ptr<audio::RecorderPCM> recorder_;
    // Restarted when a capture starts.
    liba::Stopwatch stopwatch_;
};
