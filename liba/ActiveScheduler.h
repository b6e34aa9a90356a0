#pragma once

#include "liba/InplaceImpl.h"
#include "liba/Nocopy.h"
#include "platform/Message.h"

#include <cstdint>

#include "liba/Timer.h"

class CActive;

struct CActiveSchedulerImpl;

// Runs the completions of active objects and carries every liba::Timer on
// one window timer. Completions are posted to a hidden window of the
// user-interface thread, so that any loop that gets and dispatches that
// thread's messages runs them. One per process: the first scheduler created
// is the one instance() returns until it is destroyed. Everything but
// notify() belongs to the thread that created it.
class CActiveScheduler : liba::Nocopy {
public:
    // Completion message, posted to the hidden window with the CActive in wparam.
    static constexpr std::uint32_t COMPLETION_MESSAGE = platform::WM_USER + 5;
    // The window timer of the hidden window that carries the nearest expiry.
    static constexpr platform::Wparam TIMER_ID = 1;
    // The shortest wait when no timer is pending, in milliseconds.
    static constexpr std::int32_t NO_TIMER = 10000000;

    CActiveScheduler();
    virtual ~CActiveScheduler();

    // The process's scheduler, or nullptr when there is none.
    static CActiveScheduler* instance();

    void set_active(CActive& object);
    // The only operation that may be called from another thread.
    void notify(const CActive& object);
    void cancel(CActive& object);
    bool process_actives(CActive* object);

    platform::WindowHandle window() const;

    // Running timers, in the order they were started; used by liba::Timer.
    void add_timer(liba::Timer::Impl* timer);
    void remove_timer(liba::Timer::Impl* timer);
    // Posts the completion of every timer that is due and sets the window
    // timer to the nearest remaining expiry.
    void timer_scan();

private:
    static platform::Lresult window_procedure(platform::WindowHandle window, std::uint32_t message,
        platform::Wparam wparam, platform::Lparam lparam);

    liba::InplaceImpl<CActiveSchedulerImpl, 160> impl_;
};
