#include "liba/Thread.h"

#include "liba/ThreadImpl.h"

#include <algorithm>
#include <cerrno>
#include <sys/resource.h>
#include <unistd.h>

namespace liba {

namespace {

struct StartArguments {
    Thread* thread;
    std::shared_ptr<ThreadState> state;
};

} // namespace

Thread::Thread() = default;

Thread::~Thread()
{
    ThreadState& state = *impl().state;
    std::lock_guard lock(state.mutex);
    if (state.has_handle && !state.joining) {
        pthread_detach(state.handle);
        state.has_handle = false;
    }
}

bool Thread::start()
{
    std::shared_ptr<ThreadState> state = impl().state;
    std::unique_lock lock(state->mutex);
    if (state->has_handle)
        return false;
    stop.store(0, std::memory_order_release);
    auto* arguments = new StartArguments { this, state };
    state->id = 0;
    if (pthread_create(&state->handle, nullptr, &Thread::procedure, arguments) != 0) {
        delete arguments;
        return false;
    }
    state->has_handle = true;
    // The identifier is known only inside the new thread; wait for it so
    // that set_priority() right after start() has a thread to work on.
    state->changed.wait(lock, [&] { return state->id != 0; });
    return true;
}

void* Thread::procedure(void* argument)
{
    auto* arguments = static_cast<StartArguments*>(argument);
    Thread* thread = arguments->thread;
    std::shared_ptr<ThreadState> state = std::move(arguments->state);
    delete arguments;
    {
        std::lock_guard lock(state->mutex);
        state->id = gettid();
    }
    state->changed.notify_all();

    thread->run();

    std::lock_guard lock(state->mutex);
    if (state->has_handle && !state->joining) {
        pthread_detach(pthread_self());
        state->has_handle = false;
    }
    return nullptr;
}

void Thread::join()
{
    std::shared_ptr<ThreadState> state = impl().state;
    std::unique_lock lock(state->mutex);
    if (!state->has_handle)
        return;
    // A thread that joins itself would wait for ever.
    if (pthread_equal(state->handle, pthread_self()))
        return;
    if (state->joining) {
        state->changed.wait(lock, [&] { return !state->joining; });
        return;
    }
    state->joining = true;
    pthread_t handle = state->handle;
    lock.unlock();
    pthread_join(handle, nullptr);
    lock.lock();
    state->joining = false;
    state->has_handle = false;
    lock.unlock();
    state->changed.notify_all();
}

bool Thread::is_running() const
{
    ThreadState& state = *impl().state;
    std::lock_guard lock(state.mutex);
    return state.has_handle;
}

int Thread::nice_for_level(int level)
{
    static constexpr int nice_values[] = { 10, 5, 0, -5, -10 };
    return nice_values[std::clamp(level, -2, 2) + 2];
}

bool Thread::set_priority(int level)
{
    ThreadState& state = *impl().state;
    std::lock_guard lock(state.mutex);
    if (!state.has_handle || state.id == 0)
        return false;
    return setpriority(PRIO_PROCESS, static_cast<id_t>(state.id), nice_for_level(level)) == 0;
}

} // namespace liba
