#pragma once

#include "liba/Nocopy.h"

#include <memory>
#include <mutex>

namespace liba {

// A re-entrant lock: the thread that holds it may enter it again.
class CriticalSection : Nocopy {
public:
    CriticalSection();
    ~CriticalSection();

    void enter();
    void leave();

    // For std::lock_guard and friends.
    void lock() { enter(); }
    void unlock() { leave(); }

private:
    std::unique_ptr<std::recursive_mutex> mutex_;
};

// Holds a critical section for the lifetime of a scope.
class Lock : Nocopy {
public:
    explicit Lock(CriticalSection& section)
        : section_(section)
    {
        section_.enter();
    }
    ~Lock() { section_.leave(); }

private:
    CriticalSection& section_;
};

} // namespace liba
