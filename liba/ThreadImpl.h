#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <pthread.h>
#include <sys/types.h>

namespace liba {

// What the thread procedure and the owning object share. It lives apart from
// the object so that the procedure, after run() has returned, can release
// the thread even when the owner has already gone.
//
// The thread handle is released exactly once: by the procedure (detaching
// itself) when no join() is waiting, otherwise by the join() that waits.
struct ThreadState {
    std::mutex mutex;
    std::condition_variable changed;
    pthread_t handle {};
    bool has_handle { false };
    bool joining { false };
    pid_t id { 0 };
};

struct ThreadImpl {
    std::shared_ptr<ThreadState> state { std::make_shared<ThreadState>() };
};

} // namespace liba
