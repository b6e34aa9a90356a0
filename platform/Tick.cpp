#include "platform/Tick.h"

#include <atomic>
#include <cerrno>
#include <ctime>

namespace platform {

namespace {

std::uint32_t monotonic_ticks()
{
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    auto milliseconds = static_cast<std::uint64_t>(now.tv_sec) * 1000u
        + static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<std::uint32_t>(milliseconds);
}

std::atomic<TickSource> installed_source { nullptr };

} // namespace

std::uint32_t tick_count()
{
    TickSource source = installed_source.load(std::memory_order_acquire);
    return source ? source() : monotonic_ticks();
}

TickSource set_tick_source(TickSource source)
{
    return installed_source.exchange(source, std::memory_order_acq_rel);
}

void sleep(std::uint32_t milliseconds)
{
    timespec wait { static_cast<time_t>(milliseconds / 1000),
        static_cast<long>(milliseconds % 1000) * 1000000L };
    while (nanosleep(&wait, &wait) != 0 && errno == EINTR) { }
}

} // namespace platform
