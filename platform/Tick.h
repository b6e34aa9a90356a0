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

// How many times faster than real time the device's clock runs: 1, unless
// tests set RINGWISE_DEVICE_SPEED to a factor from 1 to 1000 ("fast" is 20).
// The tick count, every timer and stopwatch built on it and the WAV-file
// microphone and speaker then run that much faster, so that long runs of
// the program take seconds. Read once.
std::uint32_t device_speed();

// The real milliseconds that `ticks` of the device's clock take: a wait for
// a timer is a wait in real time.
std::uint32_t real_milliseconds(std::uint32_t ticks);

// Suspends the calling thread for at least `milliseconds`.
void sleep(std::uint32_t milliseconds);

} // namespace platform
