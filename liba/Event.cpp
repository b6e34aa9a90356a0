#include "liba/Event.h"

#include <chrono>

namespace liba {

void Event::set()
{
    // Notify while holding the lock: a waiter that wakes may destroy the
    // event at once, and must not do so while set() still uses it.
    std::lock_guard lock(mutex_);
    set_ = true;
    signalled_.notify_all();
}

void Event::reset()
{
    std::lock_guard lock(mutex_);
    set_ = false;
}

void Event::wait()
{
    std::unique_lock lock(mutex_);
    signalled_.wait(lock, [this] { return set_; });
}

bool Event::wait_for(unsigned milliseconds)
{
    std::unique_lock lock(mutex_);
    return signalled_.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return set_; });
}

bool Event::is_set()
{
    std::lock_guard lock(mutex_);
    return set_;
}

} // namespace liba
