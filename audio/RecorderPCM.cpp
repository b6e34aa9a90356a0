#include "audio/RecorderPCM.h"

#include "audio/RecorderPCMImpl.h"
#include "os/Assertion.h"

namespace audio {

RecorderPCM::RecorderPCM(std::int32_t channels, std::int32_t sample_rate, std::int32_t bits)
    : impl(std::make_unique<RecorderPCMImpl>(*this, channels, sample_rate, bits))
{
}

RecorderPCM::~RecorderPCM()
{
    impl.reset();
}

PCMData RecorderPCM::get_data(std::int32_t)
{
    report_assertion(u"RecorderPCM::get_data", u"get_data unexpected - recorder is active object");
}

bool RecorderPCM::start()
{
    liba::Lock guard(impl->lock);
    if (!impl->device)
        return false;
    impl->stopped = !platform::wave_in_start(impl->device);
    return !impl->stopped;
}

bool RecorderPCM::stop()
{
    liba::Lock guard(impl->lock);
    if (impl->stopped)
        return true;
    impl->stopped = platform::wave_in_stop(impl->device);
    return impl->stopped;
}

bool RecorderPCM::is_stopped()
{
    liba::Lock guard(impl->lock);
    return impl->stopped;
}

bool RecorderPCM::is_open()
{
    liba::Lock guard(impl->lock);
    return impl->device != 0 && impl->capturing;
}

std::int32_t RecorderPCM::get_channels()
{
    return impl->channels;
}

std::int32_t RecorderPCM::get_bits_per_sample()
{
    return impl->bits;
}

std::int32_t RecorderPCM::get_sample_rate()
{
    return impl->sample_rate;
}

// Bits per second of the captured stream: whole bytes per sample, as the
// buffers hold them.
std::int32_t RecorderPCM::get_bit_rate()
{
    return impl->sample_rate * ((impl->bits + 7) / 8) * impl->channels * 8;
}

} // namespace audio
