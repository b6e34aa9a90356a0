#include "app/AudioSession.h"

#include "audio/CaptureFormat.h"
#include "engine/FeatureExtraction.h"
#include "platform/LittleEndian.h"

AudioSession::~AudioSession()
{
    stop_audio();
}

bool AudioSession::start_recording()
{
    capture_buffer_.set_duration(audio::MAX_RECORD_SECONDS);
    release_recorder();
    recorder_ = std::make_unique<audio::RecorderPCM>(
        audio::CAPTURE_CHANNELS, audio::CAPTURE_SAMPLE_RATE, audio::CAPTURE_BITS);
    audio::connect<audio::PCMData>(*recorder_, &capture_buffer_);
    if (!recorder_->is_open())
        return false;
    stopwatch_.restart();
    return recorder_->start();
}

double AudioSession::elapsed() const
{
    return stopwatch_.elapsed();
}

bool AudioSession::finish_recording(FeatureSet& features)
{
    stop_audio();
    std::vector<std::int16_t> samples = take_capture();
    features = extract_utterance(samples.data(), static_cast<std::int32_t>(samples.size() * 2));
    return features.count >= 1;
}

std::vector<std::int16_t> AudioSession::take_capture()
{
    audio::PCMData captured = capture_buffer_.get_data(capture_buffer_.count());
    std::vector<std::int16_t> samples;
    if (captured.channels != audio::CAPTURE_CHANNELS
        || captured.bits_per_sample != audio::CAPTURE_BITS
        || captured.sample_rate != audio::CAPTURE_SAMPLE_RATE
        || captured.length() <= audio::LEAD_IN_BYTES)
        return samples;
    const std::uint8_t* bytes = captured.bytes() + audio::LEAD_IN_BYTES;
    samples.resize(static_cast<std::size_t>((captured.length() - audio::LEAD_IN_BYTES) / 2));
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = platform::read_i16le(bytes + 2 * i);
    return samples;
}

void AudioSession::stop_audio()
{
    if (file_source_) {
        audio::connect<audio::PCMData>(*file_source_, nullptr);
        file_source_.reset();
    }
    release_recorder();
}

void AudioSession::release_recorder()
{
    if (!recorder_)
        return;
    audio::connect<audio::PCMData>(*recorder_, nullptr);
    recorder_->stop();
    recorder_.reset();
}

void AudioSession::play_file(const std::u16string& path, std::uint32_t offset, bool wait)
{
    stop_audio();
    file_source_ = std::make_unique<audio::FileReaderWAVPCM>(path);
    file_source_->rewind(offset);
    double seconds = file_source_->total_seconds();
    audio::connect<audio::PCMData>(*file_source_, &player_);
    player_.play();
    if (wait)
        player_.wait_until_finished(seconds);
}

void AudioSession::play(const std::u16string& path)
{
    play_file(path, 0, false);
}
