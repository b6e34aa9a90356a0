#include "platform/screen/DeviceScreen.h"

#include "platform/MessageQueue.h"
#include "platform/Tick.h"
#include "platform/Window.h"
#include "platform/screen/MenuBarView.h"
#include "platform/screen/Stacking.h"
#include "platform/screen/WindowPlacement.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>
#include <utility>

namespace platform::detail {

namespace {

// Presenting at most this often keeps a burst of paints to one frame.
constexpr std::uint32_t FRAME_MILLISECONDS = 16;
constexpr Color NEW_SURFACE_COLOR = make_color(255, 255, 255);

std::optional<Size> forced_screen_size()
{
    return parse_screen_size(std::getenv("RINGWISE_SCREEN"));
}

bool headless_from_environment()
{
    const char* text = std::getenv("RINGWISE_HEADLESS");
    return text && std::strcmp(text, "1") == 0;
}

// What screen_size() says before the screen is up, so that the skin of the
// first form chooses its variant for the window that will open.
Size expected_screen_size()
{
    if (std::optional<Size> forced = forced_screen_size())
        return *forced;
    if (headless_from_environment())
        return DESKTOP_WINDOW;
    return sdl_window_size().value_or(DESKTOP_WINDOW);
}

// Forwards the window system's reports to the screen.
class ScreenObserver final : public WindowObserver {
public:
    void created(WindowHandle window) override { DeviceScreen::instance().window_created(window); }
    void destroying(WindowHandle window) override
    {
        DeviceScreen::instance().window_destroying(window);
    }
    void shown(WindowHandle window, bool visible) override
    {
        DeviceScreen::instance().window_shown(window, visible);
    }
    void moved(WindowHandle window, const Rect& old) override
    {
        DeviceScreen::instance().window_moved(window, old);
    }
    void changed(WindowHandle window) override { DeviceScreen::instance().window_changed(window); }
};

// Installed as soon as a program that uses the screen starts, so that its
// first top-level window brings the screen up.
const bool observer_installed = [] {
    static ScreenObserver observer;
    set_window_observer(&observer);
    return true;
}();

std::optional<MessageBoxAnswer> present_message_box(const std::u16string& text,
    const std::u16string& caption, MessageBoxButtons buttons, int default_button)
{
    return DeviceScreen::instance().run_message_box(text, caption, buttons, default_button);
}

} // namespace

DeviceScreen& DeviceScreen::instance()
{
    static DeviceScreen* screen = new DeviceScreen;
    return *screen;
}

DeviceScreen::DeviceScreen()
    : size_(expected_screen_size())
{
    (void)observer_installed;
}

bool DeviceScreen::on_ui_thread() const
{
    return ui_thread_.load() == current_thread_id();
}

void DeviceScreen::bring_up()
{
    ThreadId expected = 0;
    if (!ui_thread_.compare_exchange_strong(expected, current_thread_id()))
        return;
    std::optional<Size> forced = forced_screen_size();
    Size assumed = size_;
    size_ = forced.value_or(DESKTOP_WINDOW);
    headless_ = headless_from_environment();
    if (!headless_)
        display_ = make_sdl_display(forced);
    if (!display_) {
        headless_ = true;
        display_ = make_headless_display(size_);
    }
    size_ = display_->size();
    // Whoever asked for the screen's size before it came up (a skin
    // choosing its scale for the first form) was told the window's logical
    // size; a high-density display has more pixels.
    first_window_sees_new_size_ = size_ != assumed;
    screen_ = Bitmap(size_.width, size_.height, DESKTOP_COLOR);
    display_->set_cursor(cursor_);
    if (!headless_)
        set_message_box_presenter(&present_message_box);
    set_input_pump(this);
    if (const char* script = std::getenv("RINGWISE_SCRIPT"); script && *script) {
        std::string error;
        if (!play_script(script, &error)) {
            std::fprintf(stderr, "script: %s\n", error.c_str());
            std::fflush(stderr);
            _exit(3);
        }
    }
}

BarLayout DeviceScreen::bars() const
{
    return bar_layout(size_, is_smartphone(), fullscreen_);
}

void DeviceScreen::set_fullscreen(bool fullscreen)
{
    fullscreen_ = fullscreen;
    dirty_ = true;
}

void DeviceScreen::resize(Size size)
{
    if (size == size_ || size.width <= 0 || size.height <= 0)
        return;
    size_ = size;
    screen_ = Bitmap(size.width, size.height, DESKTOP_COLOR);
    if (box_)
        box_->layout(size_);
    dirty_ = true;
    for (const auto& [value, surface] : surfaces_)
        post_message(WindowHandle { value }, WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
}

void DeviceScreen::window_created(WindowHandle window)
{
    bool child = (window_style(window) & WS_CHILD) != 0;
    if (!is_up() && !child)
        bring_up();
    if (!on_ui_thread())
        return;
    dirty_ = true;
    if (child) {
        if (is_window_visible(window))
            invalidate_window(window);
        return;
    }
    Rect rect = window_rect(window).value_or(Rect {});
    surfaces_[window.value]
        = { Bitmap(rect.width(), rect.height(), NEW_SURFACE_COLOR), ++raise_count_ };
    if (std::exchange(first_window_sees_new_size_, false))
        post_message(window, WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
    if (is_window_visible(window)) {
        invalidate_window(window);
        activate(window, WA_ACTIVE);
    }
}

void DeviceScreen::window_destroying(WindowHandle window)
{
    if (!on_ui_thread())
        return;
    dirty_ = true;
    auto within = [&](WindowHandle inner) {
        std::lock_guard lock(window_system().mutex);
        return inner && is_within_locked(inner, window);
    };
    if (within(capture_)) {
        WindowHandle old = std::exchange(capture_, {});
        send_message(old, WM_CAPTURECHANGED, 0, 0);
    }
    if (within(focus_)) {
        WindowHandle old = std::exchange(focus_, {});
        send_message(old, WM_KILLFOCUS, 0, 0);
    }
    if (last_press_.window == window)
        last_press_ = {};
    if (!surfaces_.contains(window.value)) {
        if (WindowHandle parent = window_parent(window))
            invalidate_window(parent);
        return;
    }
    if (active_ == window)
        activate_next(window);
    surfaces_.erase(window.value);
    destroy_menu_bar(window);
    title_ok_.erase(window.value);
    if (popup_ && popup_->owner() == window)
        close_popups();
}

void DeviceScreen::window_shown(WindowHandle window, bool visible)
{
    if (!on_ui_thread())
        return;
    dirty_ = true;
    if (!surfaces_.contains(window.value)) {
        if (visible)
            invalidate_window(window);
        else if (WindowHandle parent = window_parent(window))
            invalidate_window(parent);
        return;
    }
    if (visible) {
        invalidate_window(window);
        raise(window);
        activate(window, WA_ACTIVE);
    } else if (active_ == window) {
        activate_next(window);
    }
}

void DeviceScreen::window_moved(WindowHandle window, const Rect& old)
{
    if (!on_ui_thread())
        return;
    dirty_ = true;
    Rect rect = window_rect(window).value_or(Rect {});
    auto found = surfaces_.find(window.value);
    if (found == surfaces_.end()) {
        if (WindowHandle parent = window_parent(window))
            invalidate_window(parent);
        invalidate_window(window);
        return;
    }
    if (rect.width() != old.width() || rect.height() != old.height()) {
        found->second.bitmap = Bitmap(rect.width(), rect.height(), NEW_SURFACE_COLOR);
        invalidate_window(window);
    }
}

void DeviceScreen::window_changed(WindowHandle)
{
    if (on_ui_thread())
        dirty_ = true;
}

Bitmap* DeviceScreen::surface_of(WindowHandle top_level)
{
    auto found = surfaces_.find(top_level.value);
    return found == surfaces_.end() ? nullptr : &found->second.bitmap;
}

std::vector<WindowHandle> DeviceScreen::stacking() const
{
    std::vector<StackedWindow> windows;
    for (const auto& [value, surface] : surfaces_) {
        WindowHandle window { value };
        windows.push_back({ window, window_owner(window), surface.raised });
    }
    return stacking_order(windows, active_);
}

bool DeviceScreen::raise(WindowHandle window)
{
    auto found = surfaces_.find(window.value);
    if (found == surfaces_.end())
        return false;
    found->second.raised = ++raise_count_;
    dirty_ = true;
    return true;
}

void DeviceScreen::compose()
{
    if (screen_.size() != size_)
        screen_ = Bitmap(size_.width, size_.height);
    screen_.fill(DESKTOP_COLOR);
    Canvas canvas(screen_);
    for (WindowHandle window : stacking()) {
        if (!is_window_visible(window))
            continue;
        Rect rect = window_rect(window).value_or(Rect {});
        canvas.draw_bitmap(surfaces_[window.value].bitmap, { rect.left, rect.top });
    }
    BarLayout layout = bars();
    paint_top_bar(canvas, layout, active_ ? window_text(active_) : std::u16string(), close_pressed_,
        active_ && has_title_ok(active_));
    paint_bottom_bar(canvas, layout);
    WindowHandle bar_window = layout.bottom.is_empty() ? WindowHandle {} : bar_owner();
    if (MenuBarState* bar = bar_window ? menu_bar_state(bar_window) : nullptr) {
        Canvas area(screen_);
        area.set_clip(layout.bottom);
        paint_menu_bar(area, *bar, layout.bottom);
    } else if (menu_bar_painter_ && !layout.bottom.is_empty()) {
        Canvas bar(screen_);
        bar.set_clip(layout.bottom);
        menu_bar_painter_(bar, layout.bottom);
    }
    if (popup_)
        popup_->paint(canvas);
    if (box_)
        box_->paint(canvas);
    dirty_ = false;
}

Bitmap DeviceScreen::capture()
{
    if (dirty_ || screen_.size() != size_)
        compose();
    return screen_;
}

void DeviceScreen::set_menu_bar_painter(MenuBarPainter painter)
{
    menu_bar_painter_ = std::move(painter);
    dirty_ = true;
}

void DeviceScreen::set_cursor(SystemCursor cursor)
{
    cursor_ = cursor;
    if (display_)
        display_->set_cursor(cursor);
}

void DeviceScreen::handle(const DisplayEvent& event)
{
    switch (event.kind) {
    case DisplayEvent::Kind::Pointer:
        pointer(event.action, event.button, event.point);
        break;
    case DisplayEvent::Kind::Wheel:
        wheel(event.point, event.wheel);
        break;
    case DisplayEvent::Kind::Key:
        key(event.virtual_key, event.down);
        break;
    case DisplayEvent::Kind::Text:
        text(event.text);
        break;
    case DisplayEvent::Kind::Resize:
        resize(event.size);
        break;
    case DisplayEvent::Kind::Quit:
        post_quit_message(0);
        break;
    }
}

void DeviceScreen::pump()
{
    if (!display_ || !on_ui_thread())
        return;
    DisplayEvent event;
    handling_input_ = true;
    while (display_->poll(event))
        handle(event);
    handling_input_ = false;
}

bool DeviceScreen::queue_idle() const
{
    std::lock_guard lock(window_system().mutex);
    const ThreadQueue& queue = *own_queue_locked();
    for (const Message& message : queue.posted) {
        bool key = message.message >= WM_KEYDOWN && message.message <= WM_IME_COMPOSITION;
        bool mouse = message.message >= WM_MOUSEMOVE && message.message <= WM_MBUTTONDBLCLK;
        if (key || mouse)
            return false;
    }
    for (const auto& [value, record] : window_system().windows) {
        if (record.queue.get() == &queue && !record.invalid.is_empty() && !record.destroying
            && is_shown_locked(record.handle))
            return false;
    }
    return true;
}

bool DeviceScreen::step_script()
{
    if (!script_ || !queue_idle())
        return false;
    ScriptPlayer::Progress progress = script_->step(tick_count());
    script_wake_in_ = progress.wake_in;
    if (progress.finished) {
        script_.reset();
        script_wake_in_.reset();
        // Wakes a loop that waits for the script's end.
        post_message({}, WM_NULL);
        return true;
    }
    return progress.played;
}

void DeviceScreen::wait(std::optional<std::uint32_t> timeout)
{
    if (!display_)
        return;
    if (open_pending_popup())
        return;
    if (step_script())
        return;
    auto shorten = [&](std::uint32_t milliseconds) {
        if (!timeout || milliseconds < *timeout)
            timeout = milliseconds;
    };
    if (dirty_ && display_->shows()) {
        std::uint32_t now = tick_count();
        std::uint32_t elapsed = now - last_present_;
        if (elapsed >= FRAME_MILLISECONDS) {
            compose();
            display_->present(screen_);
            last_present_ = now;
        } else {
            shorten(FRAME_MILLISECONDS - elapsed);
        }
    }
    if (script_wake_in_)
        shorten(*script_wake_in_);
    display_->wait(timeout);
}

void DeviceScreen::wake()
{
    if (display_)
        display_->wake();
}

std::optional<MessageBoxAnswer> DeviceScreen::run_message_box(const std::u16string& text,
    const std::u16string& caption, MessageBoxButtons buttons, int default_button)
{
    if (!is_up() || !on_ui_thread() || headless_ || box_)
        return std::nullopt;
    box_ = std::make_unique<ScreenMessageBox>(text, caption, buttons, default_button);
    box_->layout(size_);
    box_answer_.reset();
    dirty_ = true;
    // The box's own loop: painting and timers go on, input goes to the box.
    while (!box_answer_) {
        Message message;
        GetResult result = get_message(message);
        if (result == GetResult::Quit) {
            post_quit_message(static_cast<int>(message.wparam));
            break;
        }
        if (result == GetResult::Error)
            break;
        dispatch_message(message);
    }
    MessageBoxAnswer answer = box_answer_.value_or(box_->default_answer());
    box_.reset();
    dirty_ = true;
    return answer;
}

void DeviceScreen::finish_box(MessageBoxAnswer answer)
{
    box_answer_ = answer;
    post_message({}, WM_NULL);
}

bool DeviceScreen::play_script(const std::string& path, std::string* error)
{
    if (!is_up() || !on_ui_thread() || script_) {
        if (error)
            *error = path + ": another script is playing or the screen is not up";
        return false;
    }
    std::string reason;
    script_ = ScriptPlayer::open(path, reason);
    if (!script_) {
        if (error)
            *error = reason;
        return false;
    }
    display_->wake();
    return true;
}

WindowHandle top_level_of(WindowHandle window)
{
    std::lock_guard lock(window_system().mutex);
    while (WindowRecord* record = find_window_locked(window)) {
        if (!(record->style & WS_CHILD))
            return window;
        window = record->parent;
    }
    return {};
}

Point screen_origin_of(WindowHandle window)
{
    std::lock_guard lock(window_system().mutex);
    Point origin;
    while (WindowRecord* record = find_window_locked(window)) {
        origin.x += record->rect.left;
        origin.y += record->rect.top;
        if (!(record->style & WS_CHILD))
            break;
        window = record->parent;
    }
    return origin;
}

std::uint32_t window_class_style(WindowHandle window)
{
    std::lock_guard lock(window_system().mutex);
    WindowRecord* record = find_window_locked(window);
    return record ? record->class_style : 0;
}

} // namespace platform::detail
