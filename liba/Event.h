#pragma once

#include "liba/Nocopy.h"

#include <condition_variable>
#include <mutex>

namespace liba {

// A manual-reset event, created non-signalled: once set, every wait returns
// at once until it is reset.
class Event : Nocopy {
public:
    void set();
    void reset();
    void wait();
    // Waits at most `milliseconds`; true when the event was set.
    bool wait_for(unsigned milliseconds);
    bool is_set();

private:
    std::mutex mutex_;
    std::condition_variable signalled_;
    bool set_ { false };
};

} // namespace liba
