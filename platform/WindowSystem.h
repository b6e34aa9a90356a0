#pragma once

#include "platform/InputPump.h"
#include "platform/Message.h"
#include "platform/Window.h"

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

// The process-wide state behind windows, message queues and window timers,
// shared by the .cpp files of platform/ and by nothing else. One mutex
// guards all of it; window procedures and the input pump are always called
// with it released.
namespace platform::detail {

struct ThreadQueue;

struct WindowRecord {
    WindowHandle handle;
    std::u16string class_name;
    WindowProcedure procedure { nullptr };
    std::uint32_t style { 0 };
    std::uint32_t ex_style { 0 };
    WindowHandle parent;
    WindowHandle owner;
    Rect rect;
    bool visible { false };
    bool enabled { true };
    std::u16string title;
    void* user_data { nullptr };
    std::uintptr_t menu { 0 };
    std::uint32_t class_style { 0 };
    // The bounds of what needs painting, client coordinates; empty when
    // the window is valid.
    Rect invalid;
    std::shared_ptr<ThreadQueue> queue;
    bool destroying { false };
};

// What the screen learns of windows as they change. Called on the thread
// that made the change, with the state unlocked; the screen installs it.
class WindowObserver {
public:
    virtual ~WindowObserver() = default;
    // After WM_CREATE accepted the window.
    virtual void created(WindowHandle window) = 0;
    // Before WM_DESTROY, while the window is still whole.
    virtual void destroying(WindowHandle window) = 0;
    virtual void shown(WindowHandle window, bool visible) = 0;
    // After the rectangle changed, before WM_MOVE and WM_SIZE.
    virtual void moved(WindowHandle window, const Rect& old) = 0;
    // The title or the enabled state changed.
    virtual void changed(WindowHandle window) = 0;
};

// A message sent from one thread to a window of another, waiting to be
// handled there.
struct SentMessage {
    Message message;
    Lresult result { 0 };
    bool done { false };
    std::shared_ptr<ThreadQueue> sender;
};

struct WindowTimer {
    WindowHandle window;
    Wparam id { 0 };
    std::uint32_t interval { 0 };
    std::uint32_t due { 0 };
};

struct ThreadQueue {
    ThreadId thread { 0 };
    std::deque<Message> posted;
    std::deque<std::shared_ptr<SentMessage>> sent;
    std::vector<WindowTimer> timers;
    bool quit_requested { false };
    int quit_code { 0 };
    InputPump* input_pump { nullptr };
    std::condition_variable wakeup;

    // Ends a wait of the owning thread; called with the state locked.
    void wake();
};

struct WindowSystem {
    std::mutex mutex;
    // Keys are the lower-case names.
    std::unordered_map<std::u16string, WindowClass> classes;
    std::unordered_map<std::uint32_t, WindowRecord> windows;
    std::unordered_map<ThreadId, std::shared_ptr<ThreadQueue>> queues;
    std::uint32_t next_handle { 1 };
    WindowObserver* observer { nullptr };
};

// The one instance; never destroyed, so that threads ending during process
// exit still find it.
WindowSystem& window_system();

// The calling thread's queue, created on first use. Call with the state locked.
const std::shared_ptr<ThreadQueue>& own_queue_locked();

// nullptr when the handle names no window. Call with the state locked.
WindowRecord* find_window_locked(WindowHandle window);

// Whether `window` is `ancestor` or lies inside it. Call with the state locked.
bool is_within_locked(WindowHandle window, WindowHandle ancestor);

// Whether the window and every parent up to its top-level window are
// visible. Call with the state locked.
bool is_shown_locked(WindowHandle window);

// Installs the observer of every window of the process (nullptr removes it).
void set_window_observer(WindowObserver* observer);
// The installed observer, nullptr for none.
WindowObserver* window_observer();

} // namespace platform::detail
