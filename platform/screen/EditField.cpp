#include "platform/screen/EditField.h"

#include "platform/MessageQueue.h"
#include "platform/Screen.h"
#include "platform/Window.h"
#include "platform/graphics/TextRenderer.h"
#include "platform/screen/Clipboard.h"
#include "platform/screen/DeviceScreen.h"

#include <algorithm>
#include <map>
#include <memory>

namespace platform {

namespace {

// Space between the field's left edge and the text, and the room kept right
// of the caret when the text scrolls.
constexpr int PADDING = 2;

struct EditState {
    WindowHandle window;
    int id { 0 };
    std::u16string text;
    EditSelection selection;
    EditLook look;
    bool read_only { false };
    bool dragging { false };
    int scroll { 0 };
    int input_mode { 0 };
    WindowHandle focus_peer;
};

// The fields' states, owned here so that a field the process never got to
// destroy is still freed when it ends.
std::map<std::uint32_t, std::unique_ptr<EditState>>& states()
{
    static std::map<std::uint32_t, std::unique_ptr<EditState>> all;
    return all;
}

EditState* state_of(WindowHandle field)
{
    if (window_class_name(field) != EDIT_CLASS)
        return nullptr;
    return static_cast<EditState*>(window_user_data(field));
}

Size field_size(WindowHandle window)
{
    Rect rect = window_rect(window).value_or(Rect {});
    return { rect.width(), rect.height() };
}

int text_width(const EditState& state, std::size_t count)
{
    if (count == 0)
        return 0;
    return measure_text(state.look.font, std::u16string_view(state.text).substr(0, count)).width;
}

// The boundary between characters nearest to a point of the field.
std::size_t index_at(const EditState& state, int x)
{
    int wanted = x - PADDING + state.scroll;
    std::size_t best = 0;
    int best_distance = std::abs(wanted);
    for (std::size_t index = 1; index <= state.text.size(); ++index) {
        int distance = std::abs(text_width(state, index) - wanted);
        if (distance < best_distance) {
            best = index;
            best_distance = distance;
        }
    }
    return best;
}

// The parent draws the field's background, so every change repaints the
// parent's area under the field, and with it the field.
void repaint(const EditState& state)
{
    WindowHandle parent = window_parent(state.window);
    std::optional<Rect> rect = window_rect(state.window);
    if (parent && rect)
        invalidate_window(parent, *rect);
    else
        invalidate_window(state.window);
}

void notify(const EditState& state, int code)
{
    WindowHandle parent = window_parent(state.window);
    if (!parent)
        return;
    Wparam wparam = static_cast<Wparam>(static_cast<std::uint16_t>(state.id))
        | (static_cast<Wparam>(code) << 16);
    send_message(parent, WM_COMMAND, wparam, static_cast<Lparam>(state.window.value));
}

// Asks the parent for the context menu at a screen point.
void ask_for_context_menu(const EditState& state, Point point)
{
    WindowHandle parent = window_parent(state.window);
    if (parent)
        send_message(parent, WM_CONTEXTMENU, static_cast<Wparam>(state.window.value),
            make_lparam(point.x, point.y));
}

// Where a menu asked for from the keyboard opens: below the caret.
Point below_caret(const EditState& state)
{
    Point origin = detail::screen_origin_of(state.window);
    int caret = PADDING - state.scroll + text_width(state, state.selection.caret);
    int x = std::clamp(caret, 0, std::max(0, field_size(state.window).width - 1));
    return { origin.x + x, origin.y + field_size(state.window).height };
}

// Keeps the caret inside the field by scrolling the text.
void keep_caret_visible(EditState& state)
{
    int width = field_size(state.window).width - 2 * PADDING;
    int caret = text_width(state, state.selection.caret);
    if (caret - state.scroll > width)
        state.scroll = caret - width;
    if (caret < state.scroll)
        state.scroll = caret;
    state.scroll = std::max(0, state.scroll);
}

void changed_selection(EditState& state)
{
    keep_caret_visible(state);
    repaint(state);
}

void changed_text(EditState& state)
{
    keep_caret_visible(state);
    repaint(state);
    notify(state, EN_CHANGE);
}

void replace_selection(EditState& state, std::u16string_view with)
{
    std::size_t start = state.selection.start();
    state.text.replace(start, state.selection.end() - start, with);
    state.selection = { start + with.size(), start + with.size() };
    changed_text(state);
}

void move_caret(EditState& state, std::size_t caret, bool extend)
{
    state.selection.caret = std::min(caret, state.text.size());
    if (!extend)
        state.selection.anchor = state.selection.caret;
    changed_selection(state);
}

bool delete_next(EditState& state, bool forward)
{
    if (state.read_only)
        return true;
    if (state.selection.is_empty()) {
        std::size_t caret = state.selection.caret;
        if (forward ? caret >= state.text.size() : caret == 0)
            return true;
        if (forward)
            state.selection.anchor = caret + 1;
        else
            state.selection.anchor = caret - 1;
    }
    replace_selection(state, {});
    return true;
}

// Returns whether the field used the key.
bool key_down(EditState& state, int key)
{
    bool shift = is_key_down(VK_SHIFT);
    bool control = is_key_down(VK_CONTROL);
    const EditSelection& selection = state.selection;
    switch (key) {
    case VK_LEFT:
        if (!shift && !selection.is_empty())
            move_caret(state, selection.start(), false);
        else
            move_caret(state, selection.caret == 0 ? 0 : selection.caret - 1, shift);
        return true;
    case VK_RIGHT:
        if (!shift && !selection.is_empty())
            move_caret(state, selection.end(), false);
        else
            move_caret(state, selection.caret + 1, shift);
        return true;
    case VK_HOME:
        move_caret(state, 0, shift);
        return true;
    case VK_END:
        move_caret(state, state.text.size(), shift);
        return true;
    case VK_BACK:
        return delete_next(state, false);
    case VK_DELETE:
        return delete_next(state, true);
    default:
        break;
    }
    if (!control)
        return false;
    switch (key) {
    case 'A':
        edit_select_all(state.window);
        return true;
    case 'C':
        edit_copy(state.window);
        return true;
    case 'X':
        edit_cut(state.window);
        return true;
    case 'V':
        edit_paste(state.window);
        return true;
    default:
        return false;
    }
}

bool uses_key(int key)
{
    switch (key) {
    case VK_LEFT:
    case VK_RIGHT:
    case VK_HOME:
    case VK_END:
    case VK_BACK:
    case VK_DELETE:
        return true;
    default:
        return is_key_down(VK_CONTROL) && (key == 'A' || key == 'C' || key == 'X' || key == 'V');
    }
}

void type(EditState& state, std::u16string_view text)
{
    if (state.read_only || text.empty())
        return;
    // One line: line ends and other control characters are not kept.
    std::u16string kept;
    for (char16_t unit : text) {
        if (unit >= 32)
            kept.push_back(unit);
    }
    if (!kept.empty())
        replace_selection(state, kept);
}

void paint(EditState& state)
{
    PaintSession session(state.window);
    Canvas& canvas = session.canvas();
    Size size = field_size(state.window);
    const EditLook& look = state.look;
    const unsigned format = TEXT_LEFT | TEXT_VCENTER | TEXT_SINGLELINE | TEXT_NOPREFIX;
    int left = PADDING - state.scroll;
    int right = left + text_width(state, state.text.size()) + size.width;
    draw_text(canvas, look.font, state.text, { left, 0, right, size.height }, format, look.text);
    if (!state.selection.is_empty()) {
        std::size_t start = state.selection.start();
        std::size_t end = state.selection.end();
        int from = left + text_width(state, start);
        int to = left + text_width(state, end);
        canvas.fill_rect({ from, 1, to, size.height - 1 }, look.selection);
        draw_text(canvas, look.font, std::u16string_view(state.text).substr(start, end - start),
            { from, 0, right, size.height }, format, look.selected_text);
    }
    if (focus_window() == state.window && is_window_enabled(state.window)) {
        int caret = left + text_width(state, state.selection.caret);
        canvas.fill_rect({ caret, 2, caret + 1, size.height - 2 }, look.text);
    }
}

Lresult procedure(WindowHandle window, std::uint32_t message, Wparam wparam, Lparam lparam)
{
    if (message == WM_CREATE) {
        auto* create = reinterpret_cast<const WindowCreate*>(lparam);
        auto& owned = states()[window.value];
        owned = std::make_unique<EditState>();
        EditState* state = owned.get();
        state->window = window;
        state->id = static_cast<int>(create->menu);
        set_window_user_data(window, state);
        return 0;
    }
    auto* state = static_cast<EditState*>(window_user_data(window));
    if (!state)
        return default_window_procedure(window, message, wparam, lparam);
    switch (message) {
    case WM_DESTROY:
        set_window_user_data(window, nullptr);
        states().erase(window.value);
        return 0;
    case WM_PAINT:
        paint(*state);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        state->focus_peer = WindowHandle { static_cast<std::uint32_t>(wparam) };
        state->dragging = false;
        repaint(*state);
        notify(*state, message == WM_SETFOCUS ? EN_SETFOCUS : EN_KILLFOCUS);
        return 0;
    case WM_ENABLE:
        repaint(*state);
        return 0;
    case WM_CHAR:
        if (!is_key_down(VK_CONTROL))
            type(*state, std::u16string(1, static_cast<char16_t>(wparam)));
        return 0;
    case WM_IME_COMPOSITION:
        if (lparam & GCS_RESULTSTR)
            type(*state, composition_result());
        return 0;
    case WM_KEYDOWN:
    case WM_KEYUP:
        if (wparam == VK_APPS) {
            // The menu opens as the key goes down; its release then belongs
            // to the open menu.
            if (message == WM_KEYDOWN)
                ask_for_context_menu(*state, below_caret(*state));
            return 0;
        }
        if (uses_key(static_cast<int>(wparam))) {
            if (message == WM_KEYDOWN)
                key_down(*state, static_cast<int>(wparam));
        } else if (WindowHandle parent = window_parent(window)) {
            return send_message(parent, message, wparam, lparam);
        }
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        if (focus_window() != window)
            set_focus(window);
        // A second quick tap is a double click; held, it is a hold too.
        if (!(wparam & MK_SHIFT)) {
            Point origin = detail::screen_origin_of(window);
            Point at { origin.x + low_word(lparam), origin.y + high_word(lparam) };
            set_capture(window);
            bool held = recognize_tap_and_hold(window, at);
            // Other messages were handled meanwhile: the field may be gone.
            state = state_of(window);
            if (!state)
                return 0;
            if (held) {
                if (capture_window() == window)
                    release_capture();
                ask_for_context_menu(*state, at);
                return 0;
            }
        }
        std::size_t index = index_at(*state, low_word(lparam));
        move_caret(*state, index, (wparam & MK_SHIFT) != 0);
        state->dragging = true;
        set_capture(window);
        return 0;
    }
    case WM_MOUSEMOVE:
        if (state->dragging)
            move_caret(*state, index_at(*state, low_word(lparam)), true);
        return 0;
    case WM_LBUTTONUP:
        if (state->dragging) {
            state->dragging = false;
            if (capture_window() == window)
                release_capture();
        }
        return 0;
    case WM_CAPTURECHANGED:
        state->dragging = false;
        return 0;
    default:
        return default_window_procedure(window, message, wparam, lparam);
    }
}

} // namespace

WindowHandle create_edit_field(WindowHandle parent, int id, const Rect& rect)
{
    static bool registered = register_window_class({ EDIT_CLASS, CS_DBLCLKS, procedure });
    (void)registered;
    if (!is_window(parent))
        return {};
    WindowCreate create;
    create.class_name = EDIT_CLASS;
    create.style = WS_CHILD | WS_VISIBLE;
    create.x = rect.left;
    create.y = rect.top;
    create.width = rect.width();
    create.height = rect.height();
    create.parent = parent;
    create.menu = static_cast<std::uintptr_t>(id);
    return create_window(create);
}

std::u16string edit_text(WindowHandle field)
{
    EditState* state = state_of(field);
    return state ? state->text : std::u16string();
}

void set_edit_text(WindowHandle field, const std::u16string& text)
{
    EditState* state = state_of(field);
    if (!state)
        return;
    state->text.clear();
    for (char16_t unit : text) {
        if (unit >= 32)
            state->text.push_back(unit);
    }
    state->selection = { state->text.size(), state->text.size() };
    state->scroll = 0;
    changed_text(*state);
}

void set_edit_look(WindowHandle field, const EditLook& look)
{
    if (EditState* state = state_of(field)) {
        state->look = look;
        changed_selection(*state);
    }
}

void set_edit_read_only(WindowHandle field, bool read_only)
{
    if (EditState* state = state_of(field); state && state->read_only != read_only) {
        state->read_only = read_only;
        repaint(*state);
    }
}

bool edit_read_only(WindowHandle field)
{
    EditState* state = state_of(field);
    return state && state->read_only;
}

EditSelection edit_selection(WindowHandle field)
{
    EditState* state = state_of(field);
    return state ? state->selection : EditSelection {};
}

void set_edit_selection(WindowHandle field, std::size_t anchor, std::size_t caret)
{
    if (EditState* state = state_of(field)) {
        state->selection
            = { std::min(anchor, state->text.size()), std::min(caret, state->text.size()) };
        changed_selection(*state);
    }
}

bool edit_copy(WindowHandle field)
{
    EditState* state = state_of(field);
    if (!state || state->selection.is_empty())
        return false;
    const EditSelection& selection = state->selection;
    set_clipboard_text(state->text.substr(selection.start(), selection.end() - selection.start()));
    return true;
}

bool edit_clear(WindowHandle field)
{
    EditState* state = state_of(field);
    if (!state || state->read_only || state->selection.is_empty())
        return false;
    replace_selection(*state, {});
    return true;
}

bool edit_cut(WindowHandle field)
{
    EditState* state = state_of(field);
    if (!state || state->read_only || state->selection.is_empty())
        return false;
    edit_copy(field);
    return edit_clear(field);
}

bool edit_paste(WindowHandle field)
{
    EditState* state = state_of(field);
    if (!state || state->read_only)
        return false;
    std::u16string text = clipboard_text();
    if (text.empty())
        return false;
    type(*state, text);
    return true;
}

void edit_select_all(WindowHandle field)
{
    if (EditState* state = state_of(field)) {
        state->selection = { 0, state->text.size() };
        changed_selection(*state);
    }
}

bool edit_can_paste(WindowHandle field)
{
    EditState* state = state_of(field);
    return state && !state->read_only && has_clipboard_text();
}

void set_edit_input_mode(WindowHandle field, int mode)
{
    if (EditState* state = state_of(field))
        state->input_mode = mode;
}

int edit_input_mode(WindowHandle field)
{
    EditState* state = state_of(field);
    return state ? state->input_mode : 0;
}

WindowHandle edit_focus_peer(WindowHandle field)
{
    EditState* state = state_of(field);
    return state ? state->focus_peer : WindowHandle {};
}

} // namespace platform
