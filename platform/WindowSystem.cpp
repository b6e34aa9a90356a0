#include "platform/WindowSystem.h"

#include "platform/MessageQueue.h"

#include <unistd.h>

namespace platform::detail {

namespace {

// Unregisters the thread's queue when the thread ends: messages still sent to
// it are answered with 0, so that no sender waits for a thread that is gone,
// and the windows it owned disappear with it.
struct QueueHolder {
    std::shared_ptr<ThreadQueue> queue;

    ~QueueHolder()
    {
        if (!queue)
            return;
        WindowSystem& system = window_system();
        std::lock_guard lock(system.mutex);
        system.queues.erase(queue->thread);
        for (auto& sent : queue->sent) {
            sent->done = true;
            sent->sender->wake();
        }
        queue->sent.clear();
        queue->posted.clear();
        queue->timers.clear();
        std::erase_if(
            system.windows, [&](const auto& entry) { return entry.second.queue == queue; });
    }
};

thread_local QueueHolder queue_holder;

} // namespace

void ThreadQueue::wake()
{
    wakeup.notify_all();
    if (input_pump)
        input_pump->wake();
}

WindowSystem& window_system()
{
    static WindowSystem* system = new WindowSystem;
    return *system;
}

const std::shared_ptr<ThreadQueue>& own_queue_locked()
{
    if (!queue_holder.queue) {
        auto queue = std::make_shared<ThreadQueue>();
        queue->thread = current_thread_id();
        window_system().queues[queue->thread] = queue;
        queue_holder.queue = std::move(queue);
    }
    return queue_holder.queue;
}

WindowRecord* find_window_locked(WindowHandle window)
{
    if (!window)
        return nullptr;
    auto& windows = window_system().windows;
    auto found = windows.find(window.value);
    return found == windows.end() ? nullptr : &found->second;
}

bool is_within_locked(WindowHandle window, WindowHandle ancestor)
{
    while (window) {
        if (window == ancestor)
            return true;
        WindowRecord* record = find_window_locked(window);
        if (!record || !(record->style & WS_CHILD))
            return false;
        window = record->parent;
    }
    return false;
}

bool is_shown_locked(WindowHandle window)
{
    while (window) {
        WindowRecord* record = find_window_locked(window);
        if (!record || !record->visible)
            return false;
        if (!(record->style & WS_CHILD))
            return true;
        window = record->parent;
    }
    return false;
}

void set_window_observer(WindowObserver* observer)
{
    WindowSystem& system = window_system();
    std::lock_guard lock(system.mutex);
    system.observer = observer;
}

WindowObserver* window_observer()
{
    WindowSystem& system = window_system();
    std::lock_guard lock(system.mutex);
    return system.observer;
}

} // namespace platform::detail

namespace platform {

ThreadId current_thread_id()
{
    thread_local ThreadId id = static_cast<ThreadId>(gettid());
    return id;
}

} // namespace platform
