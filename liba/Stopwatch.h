#pragma once

namespace liba {

// Measures elapsed time in seconds from the millisecond tick count. Used on
// one thread at a time.
class Stopwatch {
public:
    Stopwatch();

    void restart();
    // Seconds since construction or the last restart(), in milliseconds'
    // steps. The tick count's 32-bit wrap does not disturb it.
    double elapsed() const;

    // The tick count at the start, as a floating-point number.
    double start() const { return start_; }

private:
    double start_;
};

// The process-wide stopwatch, started when the program starts; the
// diagnostic log stamps its lines with it.
Stopwatch& global_stopwatch();

} // namespace liba
