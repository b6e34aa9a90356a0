#include "platform/MessageQueue.h"

#include "platform/Tick.h"
#include "platform/WindowSystem.h"

#include <chrono>

namespace platform {

using namespace detail;

namespace {

enum class Taken { Nothing, Message, Quit };

bool in_range(std::uint32_t number, const MessageFilter& filter)
{
    if (filter.first == 0 && filter.last == 0)
        return true;
    return number >= filter.first && number <= filter.last;
}

bool window_matches_locked(WindowHandle window, const MessageFilter& filter)
{
    return !filter.window || (window && is_within_locked(window, filter.window));
}

// A filter must name no window or a window of the calling thread.
bool filter_valid_locked(const MessageFilter& filter, const ThreadQueue& queue)
{
    if (!filter.window)
        return true;
    WindowRecord* record = find_window_locked(filter.window);
    return record && record->queue.get() == &queue;
}

// Runs the procedures for every message that other threads have sent to
// this one, releasing the lock around each call, and wakes each sender.
void handle_sent_locked(std::unique_lock<std::mutex>& lock, ThreadQueue& queue)
{
    while (!queue.sent.empty()) {
        std::shared_ptr<SentMessage> sent = std::move(queue.sent.front());
        queue.sent.pop_front();
        const Message& message = sent->message;
        Lresult result = 0;
        WindowRecord* record = find_window_locked(message.window);
        if (record && record->queue.get() == &queue) {
            WindowProcedure procedure = record->procedure;
            lock.unlock();
            result = procedure(message.window, message.message, message.wparam, message.lparam);
            lock.lock();
        }
        sent->result = result;
        sent->done = true;
        sent->sender->wake();
    }
}

// Lets the display deliver its input, then handles what was sent meanwhile.
void pump_input_locked(std::unique_lock<std::mutex>& lock, ThreadQueue& queue)
{
    handle_sent_locked(lock, queue);
    if (InputPump* pump = queue.input_pump) {
        lock.unlock();
        pump->pump();
        lock.lock();
        handle_sent_locked(lock, queue);
    }
}

Taken take_locked(ThreadQueue& queue, const MessageFilter& filter, Message& out, bool remove)
{
    for (auto it = queue.posted.begin(); it != queue.posted.end(); ++it) {
        if (window_matches_locked(it->window, filter) && in_range(it->message, filter)) {
            out = *it;
            if (remove)
                queue.posted.erase(it);
            return out.message == WM_QUIT ? Taken::Quit : Taken::Message;
        }
    }
    std::uint32_t now = platform::tick_count();
    if (queue.quit_requested) {
        out = Message { {}, WM_QUIT, static_cast<Wparam>(queue.quit_code), 0, now };
        if (remove)
            queue.quit_requested = false;
        return Taken::Quit;
    }
    // A shown window with something to paint gets WM_PAINT until it is
    // validated; parents (older handles) first.
    if (in_range(WM_PAINT, filter)) {
        WindowRecord* paint = nullptr;
        for (auto& [value, record] : window_system().windows) {
            if (record.queue.get() != &queue || record.invalid.is_empty() || record.destroying
                || !window_matches_locked(record.handle, filter) || !is_shown_locked(record.handle))
                continue;
            if (!paint || value < paint->handle.value)
                paint = &record;
        }
        if (paint) {
            out = Message { paint->handle, WM_PAINT, 0, 0, now };
            return Taken::Message;
        }
    }
    if (!in_range(WM_TIMER, filter))
        return Taken::Nothing;
    WindowTimer* earliest = nullptr;
    for (WindowTimer& timer : queue.timers) {
        if (static_cast<std::int32_t>(now - timer.due) < 0
            || !window_matches_locked(timer.window, filter))
            continue;
        if (!earliest || static_cast<std::int32_t>(timer.due - earliest->due) < 0)
            earliest = &timer;
    }
    if (!earliest)
        return Taken::Nothing;
    out = Message { earliest->window, WM_TIMER, earliest->id, 0, now };
    // The next expiry counts from now, so a thread that was busy gets one
    // timer message, not a burst of the ones it missed.
    if (remove)
        earliest->due = now + earliest->interval;
    return Taken::Message;
}

// Milliseconds until the nearest timer for the filter falls due; none when
// no timer matches.
std::optional<std::uint32_t> next_timer_wait_locked(
    const ThreadQueue& queue, const MessageFilter& filter)
{
    if (!in_range(WM_TIMER, filter))
        return std::nullopt;
    std::uint32_t now = platform::tick_count();
    std::optional<std::uint32_t> wait;
    for (const WindowTimer& timer : queue.timers) {
        if (!window_matches_locked(timer.window, filter))
            continue;
        auto remaining = static_cast<std::int32_t>(timer.due - now);
        std::uint32_t milliseconds = remaining > 0 ? static_cast<std::uint32_t>(remaining) : 0;
        if (!wait || milliseconds < *wait)
            wait = milliseconds;
    }
    return wait;
}

} // namespace

void ensure_message_queue()
{
    std::lock_guard lock(window_system().mutex);
    own_queue_locked();
}

bool has_message_queue(ThreadId thread)
{
    WindowSystem& system = window_system();
    std::lock_guard lock(system.mutex);
    return system.queues.contains(thread);
}

bool post_message(WindowHandle window, std::uint32_t message, Wparam wparam, Lparam lparam)
{
    WindowSystem& system = window_system();
    std::lock_guard lock(system.mutex);
    ThreadQueue* queue = nullptr;
    if (!window) {
        queue = own_queue_locked().get();
    } else {
        WindowRecord* record = find_window_locked(window);
        if (!record)
            return false;
        queue = record->queue.get();
    }
    queue->posted.push_back(Message { window, message, wparam, lparam, platform::tick_count() });
    queue->wake();
    return true;
}

bool post_thread_message(ThreadId thread, std::uint32_t message, Wparam wparam, Lparam lparam)
{
    WindowSystem& system = window_system();
    std::lock_guard lock(system.mutex);
    auto found = system.queues.find(thread);
    if (found == system.queues.end())
        return false;
    ThreadQueue& queue = *found->second;
    queue.posted.push_back(Message { {}, message, wparam, lparam, platform::tick_count() });
    queue.wake();
    return true;
}

void post_quit_message(int exit_code)
{
    std::lock_guard lock(window_system().mutex);
    ThreadQueue& queue = *own_queue_locked();
    queue.quit_requested = true;
    queue.quit_code = exit_code;
}

Lresult send_message(WindowHandle window, std::uint32_t message, Wparam wparam, Lparam lparam)
{
    std::unique_lock lock(window_system().mutex);
    WindowRecord* record = find_window_locked(window);
    if (!record)
        return 0;
    const std::shared_ptr<ThreadQueue>& own = own_queue_locked();
    if (record->queue == own) {
        WindowProcedure procedure = record->procedure;
        lock.unlock();
        return procedure(window, message, wparam, lparam);
    }
    auto sent = std::make_shared<SentMessage>();
    sent->message = Message { window, message, wparam, lparam, platform::tick_count() };
    sent->sender = own;
    record->queue->sent.push_back(sent);
    record->queue->wake();
    // While waiting, answer what other threads send to this one: two threads
    // sending to each other would otherwise wait for ever.
    while (!sent->done) {
        if (!own->sent.empty()) {
            handle_sent_locked(lock, *own);
            continue;
        }
        own->wakeup.wait(lock);
    }
    return sent->result;
}

GetResult get_message(Message& message, const MessageFilter& filter)
{
    std::unique_lock lock(window_system().mutex);
    std::shared_ptr<ThreadQueue> queue = own_queue_locked();
    for (;;) {
        if (!filter_valid_locked(filter, *queue))
            return GetResult::Error;
        pump_input_locked(lock, *queue);
        switch (take_locked(*queue, filter, message, true)) {
        case Taken::Message:
            return GetResult::Message;
        case Taken::Quit:
            return GetResult::Quit;
        case Taken::Nothing:
            break;
        }
        // A procedure called above may have destroyed the filter's window.
        if (!filter_valid_locked(filter, *queue))
            return GetResult::Error;
        std::optional<std::uint32_t> wait = next_timer_wait_locked(*queue, filter);
        if (InputPump* pump = queue->input_pump) {
            lock.unlock();
            pump->wait(wait);
            lock.lock();
        } else if (wait) {
            queue->wakeup.wait_for(lock, std::chrono::milliseconds(real_milliseconds(*wait)));
        } else {
            queue->wakeup.wait(lock);
        }
    }
}

bool peek_message(Message& message, const MessageFilter& filter, Peek mode)
{
    std::unique_lock lock(window_system().mutex);
    std::shared_ptr<ThreadQueue> queue = own_queue_locked();
    if (!filter_valid_locked(filter, *queue))
        return false;
    pump_input_locked(lock, *queue);
    if (!filter_valid_locked(filter, *queue))
        return false;
    return take_locked(*queue, filter, message, mode == Peek::Remove) != Taken::Nothing;
}

Lresult dispatch_message(const Message& message)
{
    std::unique_lock lock(window_system().mutex);
    WindowRecord* record = find_window_locked(message.window);
    if (!record || record->queue != own_queue_locked())
        return 0;
    WindowProcedure procedure = record->procedure;
    lock.unlock();
    return procedure(message.window, message.message, message.wparam, message.lparam);
}

void set_input_pump(InputPump* pump)
{
    std::lock_guard lock(window_system().mutex);
    own_queue_locked()->input_pump = pump;
}

} // namespace platform
