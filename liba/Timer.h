#pragma once

#include "liba/Nocopy.h"

#include <memory>

namespace liba {

// A one-shot timer on the process's active scheduler: start() arms it, and
// when the interval has passed the listener's on_timer() runs once on the
// user-interface thread. A periodic timer calls start() again from
// on_timer(). Belongs to the user-interface thread.
class Timer : Nocopy {
public:
    class Listener {
    public:
        virtual void on_timer(Timer& timer) = 0;
        virtual ~Listener() = default;
    };

    class Impl;

    // The listener is not owned and must outlive the timer's running periods.
    explicit Timer(Listener* listener);
    virtual ~Timer();

    // Arms the timer for `seconds` (truncated to milliseconds); a running
    // timer is cancelled first.
    void start(double seconds);
    // Disarms a running timer; the listener is not called.
    void cancel();
    bool is_active() const;

private:
    std::unique_ptr<Impl> impl;
    Listener* listener;
};

} // namespace liba
