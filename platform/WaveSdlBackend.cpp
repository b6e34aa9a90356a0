#include "platform/WaveBackend.h"

#include <SDL.h>

#include <cstring>
#include <unistd.h>

namespace platform::wave {

namespace {

// A device of the sound system; SDL converts to and from the format asked for.
class SdlDevice : public Device {
public:
    SdlDevice(WaveHandle handle, bool input, const WaveFormat& format, ThreadId callback)
        : Device(handle, input, format, callback)
    {
    }

    bool open()
    {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
            return false;
        initialised = true;
        SDL_AudioSpec wanted {};
        wanted.freq = static_cast<int>(format.samples_per_second);
        wanted.format = format.bits_per_sample == 8 ? AUDIO_U8 : AUDIO_S16LSB;
        wanted.channels = static_cast<Uint8>(format.channels);
        wanted.samples = 1024;
        wanted.callback = &SdlDevice::callback_of;
        wanted.userdata = this;
        SDL_AudioSpec obtained {};
        id = SDL_OpenAudioDevice(nullptr, input ? 1 : 0, &wanted, &obtained, 0);
        if (id == 0)
            return false;
        silence = obtained.silence;
        if (!input)
            SDL_PauseAudioDevice(id, 0);
        return true;
    }

    ~SdlDevice() override { shutdown(); }

    bool start() override
    {
        SDL_PauseAudioDevice(id, 0);
        return true;
    }

    void pause() override { SDL_PauseAudioDevice(id, 1); }

    void shutdown() override
    {
        if (id != 0)
            SDL_CloseAudioDevice(id);
        id = 0;
        if (initialised)
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
        initialised = false;
    }

private:
    static void callback_of(void* self, Uint8* stream, int length)
    {
        auto* device = static_cast<SdlDevice*>(self);
        auto count = static_cast<std::size_t>(length);
        if (device->input) {
            device->capture(stream, count);
            return;
        }
        std::size_t played = device->play(stream, count);
        std::memset(stream + played, device->silence, count - played);
    }

    SDL_AudioDeviceID id { 0 };
    Uint8 silence { 0 };
    bool initialised { false };
};

} // namespace

std::shared_ptr<Device> open_sdl_device(
    WaveHandle handle, bool input, const WaveFormat& format, ThreadId callback)
{
    auto device = std::make_shared<SdlDevice>(handle, input, format, callback);
    bool opened = device->open();
    // SDL keeps its error text in storage of the calling thread, which a
    // worker thread would leave behind when it ends.
    if (gettid() != getpid())
        SDL_TLSCleanup();
    if (!opened)
        return nullptr;
    return device;
}

} // namespace platform::wave
