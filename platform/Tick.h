#pragma once

#include <cstdint>

namespace platform {

// The platform's millisecond tick count: CLOCK_MONOTONIC as a 32-bit value
// that wraps after about 49.7 days. Compare tick counts by their 32-bit
// difference, never by their order.
std::uint32_t tick_count();

// Tests replace the clock with a source of their own; nullptr restores the
// monotonic clock. Returns the source that was installed before.
using TickSource = std::uint32_t (*)();
TickSource set_tick_source(TickSource source);

// Suspends the calling thread for at least `milliseconds`.
void sleep(std::uint32_t milliseconds);

} // namespace platform
