#include "platform/WaveBackend.h"

#include "platform/LittleEndian.h"
#include "platform/Tick.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <thread>
#include <vector>

namespace platform::wave {

namespace {

using Clock = std::chrono::steady_clock;

// A device that moves audio in real time (the device's clock, see
// device_speed()): a thread wakes every few milliseconds and moves the bytes
// that the elapsed time is worth.
class PacedDevice : public Device {
public:
    using Device::Device;

    bool start() override
    {
        std::lock_guard guard(pace_mutex);
        if (!running) {
            running = true;
            restart_locked();
        }
        return true;
    }

    void pause() override
    {
        std::lock_guard guard(pace_mutex);
        running = false;
    }

    // Idempotent; the derived destructors call it too, while move() and
    // finish() are still theirs.
    void shutdown() override
    {
        {
            std::lock_guard guard(pace_mutex);
            if (quit)
                return;
            quit = true;
        }
        wake.notify_all();
        if (thread.joinable())
            thread.join();
        finish();
    }

protected:
    void launch()
    {
        thread = std::thread([this] { loop(); });
    }

    // Moves `count` bytes; returns how many there were to move.
    virtual std::size_t move(std::size_t count) = 0;
    virtual void finish() { }

private:
    void restart_locked()
    {
        base = Clock::now();
        moved = 0;
    }

    void loop()
    {
        std::unique_lock lock(pace_mutex);
        while (!quit) {
            wake.wait_for(lock, std::chrono::milliseconds(5));
            if (quit || !running)
                continue;
            // The device's clock may run faster than real time (tests).
            auto elapsed
                = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - base).count()
                * device_speed();
            std::uint64_t due
                = static_cast<std::uint64_t>(elapsed) * format.avg_bytes_per_second / 1000000;
            due -= due % format.block_align;
            if (due <= moved)
                continue;
            std::size_t want = static_cast<std::size_t>(due - moved);
            lock.unlock();
            std::size_t done = move(want);
            lock.lock();
            moved += want;
            // A device with nothing to play builds up no credit meanwhile.
            if (done < want)
                restart_locked();
        }
    }

    std::thread thread;
    std::mutex pace_mutex;
    std::condition_variable wake;
    bool quit { false };
    bool running { false };
    Clock::time_point base;
    std::uint64_t moved { 0 };
};

// The microphone plays a WAV file, then silence. On a device clock that runs
// faster than real time, the first move hands over the whole file and
// silence up to FAST_CAPTURE_SECONDS at once (what the recorder's buffers
// hold), so that a capture is complete however late the device's thread
// runs: the same bytes arrive at every speed.
class FileInput : public PacedDevice {
public:
    FileInput(WaveHandle handle, const WaveFormat& format, ThreadId callback,
        std::vector<std::uint8_t> samples)
        : PacedDevice(handle, true, format, callback)
        , samples(std::move(samples))
    {
        launch();
    }
    ~FileInput() override { shutdown(); }

private:
    std::size_t move(std::size_t count) override
    {
        constexpr std::size_t FAST_CAPTURE_SECONDS = 4;
        if (device_speed() > 1 && !burst_done) {
            burst_done = true;
            std::size_t burst
                = std::max(samples.size(), FAST_CAPTURE_SECONDS * format.avg_bytes_per_second);
            burst -= burst % format.block_align;
            count = std::max(count, burst);
        }
        std::vector<std::uint8_t> block(count, 0);
        std::size_t n = std::min(count, samples.size() - read);
        std::memcpy(block.data(), samples.data() + read, n);
        read += n;
        capture(block.data(), block.size());
        return count;
    }

    std::vector<std::uint8_t> samples;
    std::size_t read { 0 };
    bool burst_done { false };
};

std::optional<std::vector<std::uint8_t>> read_microphone_file(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::vector<std::uint8_t> file(std::istreambuf_iterator<char>(in), {});
    return microphone_samples(file.data(), file.size());
}

// What the speaker file holds so far in this process: later devices of the
// same format add to it, so that it keeps everything played.
struct SpeakerFile {
    std::mutex mutex;
    std::string path;
    WaveFormat format;
    std::uint32_t data_bytes { 0 };
    bool open { false };
} speaker;

bool same_format(const WaveFormat& a, const WaveFormat& b)
{
    return a.channels == b.channels && a.samples_per_second == b.samples_per_second
        && a.bits_per_sample == b.bits_per_sample;
}

// Everything played goes into a WAV file, whose header is complete whenever
// no device is open.
class FileOutput : public PacedDevice {
public:
    FileOutput(WaveHandle handle, const WaveFormat& format, ThreadId callback, std::FILE* file)
        : PacedDevice(handle, false, format, callback)
        , file(file)
    {
        start();
        launch();
    }
    ~FileOutput() override { shutdown(); }

private:
    std::size_t move(std::size_t count) override
    {
        std::vector<std::uint8_t> block(count);
        std::size_t n = play(block.data(), count);
        if (n > 0) {
            std::lock_guard guard(speaker.mutex);
            speaker.data_bytes += static_cast<std::uint32_t>(std::fwrite(block.data(), 1, n, file));
        }
        return n;
    }

    void finish() override
    {
        std::lock_guard guard(speaker.mutex);
        std::uint8_t sizes[4];
        write_u32le(sizes, speaker.data_bytes + 36);
        std::fseek(file, 4, SEEK_SET);
        std::fwrite(sizes, 1, 4, file);
        write_u32le(sizes, speaker.data_bytes);
        std::fseek(file, 40, SEEK_SET);
        std::fwrite(sizes, 1, 4, file);
        std::fclose(file);
        speaker.open = false;
    }

    std::FILE* file;
};

std::FILE* open_speaker_file(const char* path, const WaveFormat& format)
{
    std::lock_guard guard(speaker.mutex);
    if (speaker.open)
        return nullptr; // one output device at a time
    if (speaker.path == path && same_format(speaker.format, format)) {
        if (std::FILE* file = std::fopen(path, "r+b")) {
            std::fseek(file, 44 + static_cast<long>(speaker.data_bytes), SEEK_SET);
            speaker.open = true;
            return file;
        }
    }
    std::FILE* file = std::fopen(path, "wb");
    if (!file)
        return nullptr;
    std::uint8_t header[44]
        = { 'R', 'I', 'F', 'F', 36, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ', 16, 0, 0, 0 };
    header[20] = WAVE_FORMAT_PCM;
    header[22] = static_cast<std::uint8_t>(format.channels);
    write_u32le(header + 24, format.samples_per_second);
    write_u32le(header + 28, format.avg_bytes_per_second);
    header[32] = static_cast<std::uint8_t>(format.block_align);
    header[34] = static_cast<std::uint8_t>(format.bits_per_sample);
    std::memcpy(header + 36, "data", 4);
    if (std::fwrite(header, 1, sizeof header, file) != sizeof header) {
        std::fclose(file);
        return nullptr;
    }
    speaker.path = path;
    speaker.format = format;
    speaker.data_bytes = 0;
    speaker.open = true;
    return file;
}

} // namespace

std::optional<std::vector<std::uint8_t>> microphone_samples(
    const std::uint8_t* file, std::size_t size)
{
    if (size < 12 || std::memcmp(file, "RIFF", 4) != 0 || std::memcmp(file + 8, "WAVE", 4) != 0)
        return std::nullopt;
    bool format_ok = false;
    std::size_t at = 12;
    while (size - at >= 8) {
        const std::uint8_t* chunk = file + at;
        std::size_t length = read_u32le(chunk + 4);
        std::size_t body = at + 8;
        std::size_t available = size - body;
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (length < 16 || available < 16)
                return std::nullopt;
            const std::uint8_t* format = file + body;
            format_ok = read_u16le(format) == WAVE_FORMAT_PCM && read_u16le(format + 2) == 1
                && read_u32le(format + 4) == 22050 && read_u16le(format + 14) == 16;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!format_ok)
                return std::nullopt;
            // A data chunk that claims more than the file holds gives what is there.
            std::size_t n = std::min(length, available) & ~std::size_t { 1 };
            return std::vector<std::uint8_t>(file + body, file + body + n);
        }
        // Chunks are padded to an even size.
        if (length > available || available - length < (length & 1))
            return std::nullopt;
        at = body + length + (length & 1);
    }
    return std::nullopt;
}

std::shared_ptr<Device> open_file_input(
    WaveHandle handle, const WaveFormat& format, ThreadId callback)
{
    if (format.channels != 1 || format.samples_per_second != 22050 || format.bits_per_sample != 16)
        return nullptr;
    auto samples = read_microphone_file(std::getenv("RINGWISE_MIC"));
    if (!samples)
        return nullptr;
    return std::make_shared<FileInput>(handle, format, callback, std::move(*samples));
}

std::shared_ptr<Device> open_file_output(
    WaveHandle handle, const WaveFormat& format, ThreadId callback)
{
    std::FILE* file = open_speaker_file(std::getenv("RINGWISE_SPEAKER"), format);
    if (!file)
        return nullptr;
    return std::make_shared<FileOutput>(handle, format, callback, file);
}

} // namespace platform::wave
