#include "platform/Tick.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace platform {

namespace {

std::uint32_t monotonic_ticks()
{
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    auto microseconds = static_cast<std::uint64_t>(now.tv_sec) * 1000000u
        + static_cast<std::uint64_t>(now.tv_nsec) / 1000u;
    return static_cast<std::uint32_t>(microseconds * device_speed() / 1000u);
}

std::uint32_t read_device_speed()
{
    constexpr long FAST = 20;
    constexpr long FASTEST = 1000;
    const char* text = std::getenv("RINGWISE_DEVICE_SPEED");
    if (!text || !*text)
        return 1;
    if (std::strcmp(text, "fast") == 0)
        return FAST;
    char* end = nullptr;
    long value = std::strtol(text, &end, 10);
    if (*end != '\0' || value < 1 || value > FASTEST)
        return 1;
    return static_cast<std::uint32_t>(value);
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

std::uint32_t device_speed()
{
    static const std::uint32_t speed = read_device_speed();
    return speed;
}

std::uint32_t real_milliseconds(std::uint32_t ticks)
{
    std::uint32_t speed = device_speed();
    return ticks / speed + (ticks % speed != 0 ? 1 : 0);
}

void sleep(std::uint32_t milliseconds)
{
    timespec wait { static_cast<time_t>(milliseconds / 1000),
        static_cast<long>(milliseconds % 1000) * 1000000L };
    while (nanosleep(&wait, &wait) != 0 && errno == EINTR) { }
}

} // namespace platform
