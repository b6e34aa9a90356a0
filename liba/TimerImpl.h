#pragma once

#include "liba/Active.h"
#include "liba/Timer.h"

#include <cstdint>

namespace liba {

// The active object behind a Timer. Shared by the timer and the scheduler's
// timer scan; both run on the user-interface thread.
class Timer::Impl : public CActive {
public:
    explicit Impl(Timer& owner);

    Timer& owner;
    // Tick count at which the timer expires; 0 until first started.
    std::uint32_t due { 0 };
    // Whether the completion of the current request has been posted. A
    // request gets exactly one: the scan posts it once however often it
    // finds the timer due, and do_cancel() posts it only when the scan has
    // not, so no completion is left queued after a cancel or a restart.
    bool completion_posted { false };

protected:
    void run() override;
    void do_cancel() override;
};

} // namespace liba
