#pragma once

#include "liba/Nocopy.h"

#include <atomic>

class CActiveScheduler;

// Base of every object that asks for something to happen later. It is set
// active when it issues a request; when the request has completed, notify()
// (from any thread) posts a completion, and the process's scheduler calls
// run() on the user-interface thread. Everything but notify() belongs to the
// user-interface thread.
class CActive : liba::Nocopy {
public:
    // The argument is not used.
    explicit CActive(int priority);
    virtual ~CActive();

    bool is_active() const { return active.load(std::memory_order_acquire); }

protected:
    // Called when the object's completion is processed; the object is
    // inactive again by then and may issue a new request at once.
    virtual void run() = 0;
    // Stops the outstanding request; exactly one completion for it must be
    // posted, or already have been.
    virtual void do_cancel() = 0;

public:
    // Marks a request outstanding.
    void set_active();
    // Withdraws an outstanding request; run() is not called for it.
    void cancel();
    // Reports that the request has completed; may be called from any thread.
    void notify() const;

private:
    friend class CActiveScheduler;

    // Written on the user-interface thread, read by notify() on workers.
    std::atomic<bool> active { false };
};
