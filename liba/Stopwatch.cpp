#include "liba/Stopwatch.h"

#include "platform/Tick.h"

#include <cstdint>

namespace liba {

Stopwatch::Stopwatch()
    : start_(static_cast<double>(platform::tick_count()))
{
}

void Stopwatch::restart()
{
    start_ = static_cast<double>(platform::tick_count());
}

double Stopwatch::elapsed() const
{
    // The difference is taken in 32 bits, so that a stopwatch running across
    // the wrap of the tick count still reports the time that has passed.
    std::uint32_t ticks = platform::tick_count() - static_cast<std::uint32_t>(start_);
    return static_cast<double>(ticks) * 0.001;
}

namespace {

// Constructed during static initialisation, that is at program start.
[[maybe_unused]] Stopwatch& program_stopwatch = global_stopwatch();

} // namespace

Stopwatch& global_stopwatch()
{
    static Stopwatch stopwatch;
    return stopwatch;
}

} // namespace liba
