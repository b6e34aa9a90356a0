#include "liba/Timer.h"

#include "liba/ActiveScheduler.h"
#include "liba/TimerImpl.h"
#include "platform/Tick.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace liba {

namespace {

// The interval in milliseconds, truncated toward zero, negated, and kept
// within what a 32-bit signed tick difference can express.
std::int32_t negated_milliseconds(double seconds)
{
    double negated = std::trunc(seconds * -1000.0);
    if (std::isnan(negated))
        return 0;
    constexpr double lowest = std::numeric_limits<std::int32_t>::min() + 1;
    constexpr double highest = std::numeric_limits<std::int32_t>::max();
    if (negated < lowest)
        return static_cast<std::int32_t>(lowest);
    if (negated > highest)
        return static_cast<std::int32_t>(highest);
    return static_cast<std::int32_t>(negated);
}

} // namespace

Timer::Impl::Impl(Timer& owner)
    : CActive(0)
    , owner(owner)
{
}

void Timer::Impl::run()
{
    if (CActiveScheduler* scheduler = CActiveScheduler::instance())
        scheduler->remove_timer(this);
    if (owner.listener)
        owner.listener->on_timer(owner);
}

void Timer::Impl::do_cancel()
{
    if (CActiveScheduler* scheduler = CActiveScheduler::instance())
        scheduler->remove_timer(this);
    // The scan may already have posted the completion; the cancel then
    // consumes that one, and a second would stay queued behind it.
    if (!completion_posted) {
        completion_posted = true;
        notify();
    }
}

Timer::Timer(Listener* listener)
    : impl(std::make_unique<Impl>(*this))
    , listener(listener)
{
}

Timer::~Timer()
{
    cancel();
}

void Timer::start(double seconds)
{
    if (impl->is_active())
        impl->cancel();
    std::uint32_t now = platform::tick_count();
    impl->due = now - static_cast<std::uint32_t>(negated_milliseconds(seconds));
    impl->completion_posted = false;
    impl->set_active();
    CActiveScheduler* scheduler = CActiveScheduler::instance();
    scheduler->add_timer(impl.get());
    scheduler->timer_scan();
}

void Timer::cancel()
{
    impl->cancel();
}

bool Timer::is_active() const
{
    return impl->is_active();
}

} // namespace liba
