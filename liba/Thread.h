#pragma once

#include "liba/InplaceImpl.h"
#include "liba/Nocopy.h"

#include <atomic>
#include <cstdint>

namespace liba {

struct ThreadImpl;

// A worker thread whose body is run(). The object must outlive the body:
// owners call join() (usually after request_stop()) before destroying it.
// Once run() has returned, the thread no longer touches the object, and the
// object may be started again.
class Thread : Nocopy, private InplaceImpl<ThreadImpl, 32> {
public:
    Thread();
    // Releases the thread if it is still recorded, without waiting for it.
    virtual ~Thread();

    // False, and nothing started, while a thread is recorded; otherwise
    // starts run() on a new thread and returns whether that succeeded.
    bool start();
    // Waits for the thread to end; returns at once when none is recorded.
    void join();

    void request_stop() { stop.store(1, std::memory_order_release); }
    bool stop_requested() const { return stop.load(std::memory_order_acquire) != 0; }

    // Levels -2 (lowest) to +2 (highest), clamped; false when no thread is
    // recorded or the system refuses (raising needs privileges on Linux).
    bool set_priority(int level);
    // The nice value that a level maps to: 10, 5, 0, -5 or -10.
    static int nice_for_level(int level);

    // Whether a thread is recorded (started and not yet released).
    bool is_running() const;

protected:
    virtual void run() = 0;

private:
    static void* procedure(void* argument);

    std::atomic<std::int32_t> stop { 0 };
};

} // namespace liba
