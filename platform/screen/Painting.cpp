#include "platform/MessageQueue.h"
#include "platform/screen/DeviceScreen.h"

// Invalid regions and the paint sessions that draw them into the surfaces
// of the top-level windows.
namespace platform {

using namespace detail;

namespace {

void add_invalid_locked(WindowRecord& record, Rect area)
{
    Rect& invalid = record.invalid;
    if (invalid.is_empty()) {
        invalid = area;
    } else {
        invalid = { std::min(invalid.left, area.left), std::min(invalid.top, area.top),
            std::max(invalid.right, area.right), std::max(invalid.bottom, area.bottom) };
    }
    // A parent paints over its children (they share its surface), so the
    // children under the area are painted again after it.
    for (auto& [value, child] : window_system().windows) {
        if (!(child.style & WS_CHILD) || child.parent != record.handle || !child.visible)
            continue;
        Rect covered = area.intersected(child.rect);
        if (!covered.is_empty())
            add_invalid_locked(child, covered.translated(-child.rect.left, -child.rect.top));
    }
}

} // namespace

void invalidate_window(WindowHandle window, std::optional<Rect> rect)
{
    std::lock_guard lock(window_system().mutex);
    WindowRecord* record = find_window_locked(window);
    if (!record)
        return;
    Rect client { 0, 0, record->rect.width(), record->rect.height() };
    Rect area = rect ? rect->intersected(client) : client;
    if (area.is_empty())
        return;
    add_invalid_locked(*record, area);
    record->queue->wake();
}

struct PaintSession::State {
    Bitmap nowhere;
    std::optional<Canvas> canvas;
    Rect invalid;
    bool drawn { false };
};

PaintSession::PaintSession(WindowHandle window)
    : state_(std::make_unique<State>())
{
    send_message(window, WM_ERASEBKGND, 0, 0);
    DeviceScreen& screen = DeviceScreen::instance();
    WindowHandle top = top_level_of(window);
    Bitmap* surface = screen.on_ui_thread() ? screen.surface_of(top) : nullptr;

    std::lock_guard lock(window_system().mutex);
    WindowRecord* record = find_window_locked(window);
    if (!record)
        return;
    Rect client { 0, 0, record->rect.width(), record->rect.height() };
    state_->invalid = record->invalid.is_empty() ? client : record->invalid;
    // Validated now, so that what is invalidated while painting is painted
    // again.
    record->invalid = {};
    if (!surface || !is_shown_locked(window))
        return;

    // The client area in the surface's coordinates, cut to every parent.
    Point origin;
    Rect clip = client;
    for (WindowRecord* at = record; at && (at->style & WS_CHILD);) {
        origin.x += at->rect.left;
        origin.y += at->rect.top;
        clip = clip.translated(at->rect.left, at->rect.top);
        WindowRecord* parent = find_window_locked(at->parent);
        if (!parent)
            return;
        clip = clip.intersected({ 0, 0, parent->rect.width(), parent->rect.height() });
        at = parent;
    }
    clip = clip.intersected(state_->invalid.translated(origin.x, origin.y));
    state_->canvas.emplace(*surface);
    state_->canvas->set_origin(origin);
    state_->canvas->set_clip(clip);
    state_->drawn = true;
}

PaintSession::~PaintSession()
{
    if (state_->drawn)
        DeviceScreen::instance().mark_dirty();
}

Canvas& PaintSession::canvas()
{
    if (!state_->canvas)
        state_->canvas.emplace(state_->nowhere);
    return *state_->canvas;
}

Rect PaintSession::invalid() const
{
    return state_->invalid;
}

} // namespace platform
