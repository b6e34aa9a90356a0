#include "audio/PlayerPCM.h"

#include "audio/PlayerPCMImpl.h"
#include "os/Assertion.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

namespace audio {

PlayerPCM::PlayerPCM()
    : impl(std::make_unique<PlayerPCMImpl>(*this))
{
}

PlayerPCM::~PlayerPCM()
{
    impl.reset();
}

void PlayerPCM::on_data(const PCMData&)
{
    report_assertion(u"PlayerPCM::on_data", u"on_data unexpected - player is active object");
}

bool PlayerPCM::play()
{
    {
        liba::Lock guard(lock);
        impl->play_requested = true;
        impl->finished = false;
    }
    return impl->wake_up();
}

bool PlayerPCM::is_finished()
{
    liba::Lock guard(lock);
    return impl->finished;
}

void PlayerPCM::set_volume(double volume)
{
    liba::Lock guard(lock);
    impl->volume = std::clamp(volume, 0.0, 1.0);
}

double PlayerPCM::volume()
{
    liba::Lock guard(lock);
    return impl->volume;
}

bool PlayerPCM::wait_until_finished(double audio_seconds)
{
    constexpr double LONGEST_SECONDS = 3600;
    double seconds
        = std::isfinite(audio_seconds) ? std::clamp(audio_seconds, 0.0, LONGEST_SECONDS) : 0.0;
    auto limit = std::chrono::steady_clock::now()
        + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
            std::chrono::duration<double>(seconds + WAIT_MARGIN_SECONDS));
    while (!is_finished()) {
        if (std::chrono::steady_clock::now() >= limit)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

} // namespace audio
