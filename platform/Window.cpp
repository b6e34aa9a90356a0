#include "platform/Window.h"

#include "platform/MessageQueue.h"
#include "platform/WindowSystem.h"

#include <algorithm>

namespace platform {

using namespace detail;

namespace {

std::u16string class_key(const std::u16string& name)
{
    std::u16string key = name;
    for (char16_t& c : key) {
        if (c >= u'A' && c <= u'Z')
            c = static_cast<char16_t>(c - u'A' + u'a');
    }
    return key;
}

int coordinate(int value)
{
    return value == CW_USEDEFAULT ? 0 : value;
}

} // namespace

bool register_window_class(const WindowClass& window_class)
{
    if (window_class.name.empty() || !window_class.procedure)
        return false;
    WindowSystem& system = window_system();
    std::lock_guard lock(system.mutex);
    return system.classes.emplace(class_key(window_class.name), window_class).second;
}

bool unregister_window_class(const std::u16string& name)
{
    WindowSystem& system = window_system();
    std::lock_guard lock(system.mutex);
    std::u16string key = class_key(name);
    for (const auto& [value, record] : system.windows) {
        if (class_key(record.class_name) == key)
            return false;
    }
    return system.classes.erase(key) != 0;
}

WindowHandle create_window(const WindowCreate& create)
{
    WindowSystem& system = window_system();
    std::unique_lock lock(system.mutex);
    auto found = system.classes.find(class_key(create.class_name));
    if (found == system.classes.end())
        return {};
    if (create.parent && !find_window_locked(create.parent))
        return {};
    const WindowClass& window_class = found->second;

    WindowRecord record;
    do {
        record.handle = WindowHandle { system.next_handle++ };
    } while (!record.handle || system.windows.contains(record.handle.value));
    record.class_name = window_class.name;
    record.procedure = window_class.procedure;
    record.style = create.style;
    record.ex_style = create.ex_style;
    if (create.style & WS_CHILD)
        record.parent = create.parent;
    else
        record.owner = create.parent;
    int x = coordinate(create.x);
    int y = coordinate(create.y);
    record.rect = Rect { x, y, x + coordinate(create.width), y + coordinate(create.height) };
    record.visible = (create.style & WS_VISIBLE) != 0;
    record.enabled = (create.style & WS_DISABLED) == 0;
    record.title = create.title;
    record.menu = create.menu;
    record.class_style = window_class.style;
    record.queue = own_queue_locked();
    WindowHandle handle = record.handle;
    WindowProcedure procedure = record.procedure;
    system.windows.emplace(handle.value, std::move(record));
    lock.unlock();

    if (procedure(handle, WM_CREATE, 0, reinterpret_cast<Lparam>(&create)) == -1) {
        destroy_window(handle);
        return {};
    }
    if (WindowObserver* observer = window_observer())
        observer->created(handle);
    return handle;
}

bool destroy_window(WindowHandle window)
{
    WindowSystem& system = window_system();
    std::unique_lock lock(system.mutex);
    WindowRecord* record = find_window_locked(window);
    const std::shared_ptr<ThreadQueue>& own = own_queue_locked();
    if (!record || record->destroying || record->queue != own)
        return false;
    record->destroying = true;
    WindowProcedure procedure = record->procedure;
    WindowObserver* observer = system.observer;
    lock.unlock();

    if (observer)
        observer->destroying(window);
    procedure(window, WM_DESTROY, 0, 0);

    lock.lock();
    std::vector<WindowHandle> dependents;
    for (auto& [value, other] : system.windows) {
        if (other.parent != window && other.owner != window)
            continue;
        if (other.queue == own) {
            dependents.push_back(other.handle);
        } else {
            other.parent = {};
            other.owner = {};
        }
    }
    lock.unlock();
    for (WindowHandle dependent : dependents)
        destroy_window(dependent);

    lock.lock();
    system.windows.erase(window.value);
    std::erase_if(own->posted, [&](const Message& message) { return message.window == window; });
    std::erase_if(own->timers, [&](const WindowTimer& timer) { return timer.window == window; });
    return true;
}

Lresult default_window_procedure(WindowHandle window, std::uint32_t message, Wparam, Lparam)
{
    if (message == WM_CLOSE)
        destroy_window(window);
    return 0;
}

bool is_window(WindowHandle window)
{
    std::lock_guard lock(window_system().mutex);
    return find_window_locked(window) != nullptr;
}

ThreadId window_thread(WindowHandle window)
{
    std::lock_guard lock(window_system().mutex);
    WindowRecord* record = find_window_locked(window);
    return record ? record->queue->thread : 0;
}

std::u16string window_class_name(WindowHandle window)
{
    std::lock_guard lock(window_system().mutex);
    WindowRecord* record = find_window_locked(window);
    return record ? record->class_name : std::u16string();
}

std::vector<WindowHandle> top_level_windows()
{
    std::vector<WindowHandle> result;
    {
        std::lock_guard lock(window_system().mutex);
        for (const auto& [value, record] : window_system().windows) {
            if (!record.parent && !record.destroying)
                result.push_back(record.handle);
        }
    }
    // Handles are handed out in increasing order.
    std::sort(result.begin(), result.end(),
        [](WindowHandle a, WindowHandle b) { return a.value < b.value; });
    return result;
}

std::uint32_t window_style(WindowHandle window)
{
    std::lock_guard lock(window_system().mutex);
    WindowRecord* record = find_window_locked(window);
    return record ? record->style : 0;
}

WindowHandle window_parent(WindowHandle window)
{
    std::lock_guard lock(window_system().mutex);
    WindowRecord* record = find_window_locked(window);
    return record ? record->parent : WindowHandle {};
}

WindowHandle window_owner(WindowHandle window)
{
    std::lock_guard lock(window_system().mutex);
    WindowRecord* record = find_window_locked(window);
    return record ? record->owner : WindowHandle {};
}

std::optional<Rect> window_rect(WindowHandle window)
{
    std::lock_guard lock(window_system().mutex);
    WindowRecord* record = find_window_locked(window);
    if (!record)
        return std::nullopt;
    return record->rect;
}

bool move_window(WindowHandle window, const Rect& rect)
{
    std::unique_lock lock(window_system().mutex);
    WindowRecord* record = find_window_locked(window);
    if (!record)
        return false;
    Rect old = record->rect;
    record->rect = rect;
    WindowObserver* observer = window_system().observer;
    lock.unlock();
    if (observer && old != rect)
        observer->moved(window, old);
    if (old.left != rect.left || old.top != rect.top)
        send_message(window, WM_MOVE, 0, make_lparam(rect.left, rect.top));
    if (old.width() != rect.width() || old.height() != rect.height())
        send_message(window, WM_SIZE, SIZE_RESTORED, make_lparam(rect.width(), rect.height()));
    return true;
}

bool show_window(WindowHandle window, bool visible)
{
    std::unique_lock lock(window_system().mutex);
    WindowRecord* record = find_window_locked(window);
    if (!record)
        return false;
    bool changed = record->visible != visible;
    record->visible = visible;
    WindowObserver* observer = window_system().observer;
    lock.unlock();
    if (observer && changed)
        observer->shown(window, visible);
    return true;
}

bool is_window_visible(WindowHandle window)
{
    std::lock_guard lock(window_system().mutex);
    WindowRecord* record = find_window_locked(window);
    return record && record->visible;
}

bool enable_window(WindowHandle window, bool enabled)
{
    std::unique_lock lock(window_system().mutex);
    WindowRecord* record = find_window_locked(window);
    if (!record)
        return false;
    bool changed = record->enabled != enabled;
    record->enabled = enabled;
    WindowObserver* observer = window_system().observer;
    lock.unlock();
    if (changed)
        send_message(window, WM_ENABLE, enabled ? 1 : 0, 0);
    if (observer && changed)
        observer->changed(window);
    return true;
}

bool is_window_enabled(WindowHandle window)
{
    std::lock_guard lock(window_system().mutex);
    WindowRecord* record = find_window_locked(window);
    return record && record->enabled;
}

bool set_window_text(WindowHandle window, const std::u16string& text)
{
    std::unique_lock lock(window_system().mutex);
    WindowRecord* record = find_window_locked(window);
    if (!record)
        return false;
    record->title = text;
    WindowObserver* observer = window_system().observer;
    lock.unlock();
    if (observer)
        observer->changed(window);
    return true;
}

std::u16string window_text(WindowHandle window)
{
    std::lock_guard lock(window_system().mutex);
    WindowRecord* record = find_window_locked(window);
    return record ? record->title : std::u16string();
}

void* set_window_user_data(WindowHandle window, void* data)
{
    std::lock_guard lock(window_system().mutex);
    WindowRecord* record = find_window_locked(window);
    if (!record)
        return nullptr;
    void* previous = record->user_data;
    record->user_data = data;
    return previous;
}

void* window_user_data(WindowHandle window)
{
    std::lock_guard lock(window_system().mutex);
    WindowRecord* record = find_window_locked(window);
    return record ? record->user_data : nullptr;
}

} // namespace platform
