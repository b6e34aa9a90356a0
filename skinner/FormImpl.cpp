#include "skinner/FormImpl.h"

#include "os/Log.h"
#include "os/Registry.h"
#include "platform/MessageQueue.h"
#include "platform/Screen.h"
#include "platform/Tick.h"
#include "platform/Window.h"
#include "platform/WindowTimers.h"
#include "skinner/Capabilities.h"
#include "skinner/Form.h"
#include "skinner/KeyCodes.h"
#include "skinner/MenuManager.h"

#include <algorithm>

namespace skinner {

namespace {

// The colour a new back buffer starts with, and the one the "Flicker"
// diagnostic paints every dirty part with first.
constexpr platform::Color NEW_BUFFER = platform::make_color(0, 255, 255);
constexpr platform::Color FLICKER = platform::make_color(255, 0, 255);

platform::Rect united(const platform::Rect& a, const platform::Rect& b)
{
    if (a.is_empty())
        return b;
    if (b.is_empty())
        return a;
    return { std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
        std::max(a.bottom, b.bottom) };
}

platform::Point point_of(platform::Lparam lparam)
{
    return { platform::low_word(lparam), platform::high_word(lparam) };
}

// The window class of the form windows, registered once per process.
void register_class()
{
    static bool registered = false;
    if (registered)
        return;
    registered = platform::register_window_class({ form_window_class(),
        platform::CS_VREDRAW | platform::CS_HREDRAW | platform::CS_DBLCLKS, &FormImpl::procedure });
}

bool flicker_diagnostic()
{
    std::uint32_t value = 0;
    os::read_registry_number(u"HKEY_CURRENT_USER\\Software\\Tarn", u"Flicker", value);
    return value != 0;
}

} // namespace

FormImpl::FormImpl(Form& form)
    : form_(form)
    , flicker_(flicker_diagnostic())
{
    register_class();
    platform::WindowCreate create;
    create.class_name = form_window_class();
    create.title = u"Loading...";
    create.style = platform::WS_POPUP | platform::WS_CLIPCHILDREN;
    if (!form.parent() && !is_smartphone())
        create.style |= platform::WS_SYSMENU;
    if (form.parent())
        create.parent = form.parent()->window();
    create.x = 0;
    create.y = 0;
    create.width = 0;
    create.height = 0;
    create.param = this;
    window_ = platform::create_window(create);
    if (window_)
        menu_ = make_menu_manager(form, window_);
}

FormImpl::~FormImpl()
{
    menu_.reset();
    if (window_) {
        platform::set_window_user_data(window_, nullptr);
        platform::destroy_window(window_);
    }
}

void FormImpl::invalidate(const platform::Rect& rect)
{
    dirty_ = united(dirty_, rect);
    if (window_)
        platform::invalidate_window(window_, rect);
}

void FormImpl::forget(Control& control)
{
    if (hover_ == &control)
        hover_ = nullptr;
}

platform::Lresult FormImpl::procedure(platform::WindowHandle window, std::uint32_t message,
    platform::Wparam wparam, platform::Lparam lparam)
{
    if (message == platform::WM_CREATE) {
        auto* create = reinterpret_cast<const platform::WindowCreate*>(lparam);
        auto* impl = static_cast<FormImpl*>(create->param);
        impl->window_ = window;
        platform::set_window_user_data(window, impl);
        return 0;
    }
    auto* impl = static_cast<FormImpl*>(platform::window_user_data(window));
    if (!impl)
        return platform::default_window_procedure(window, message, wparam, lparam);
    platform::Lresult result = impl->handle(message, wparam, lparam);
    // The form may have pending menu work after any message.
    if (platform::window_user_data(window) == impl && impl->form_.has_pending_work() && impl->menu_)
        impl->menu_->update();
    return result;
}

platform::Lresult FormImpl::handle(
    std::uint32_t message, platform::Wparam wparam, platform::Lparam lparam)
{
    using namespace platform;
    switch (message) {
    case WM_SIZE:
        if (wparam != SIZE_MINIMIZED) {
            Size size { low_word(lparam) & 0xFFFF, high_word(lparam) & 0xFFFF };
            form_.set_rect({ 0, 0 }, size);
            back_buffer_ = Bitmap();
            invalidate({ 0, 0, size.width, size.height });
        }
        return 0;
    case WM_ACTIVATE:
        on_activate(wparam);
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        on_focus_message(message, wparam);
        // A focused edit keeps the keyboard focus in its native field.
        if (message == WM_SETFOCUS) {
            if (Control* focused = form_.focused();
                focused && focused->claims_activation() && form_.is_active())
                focused->gain_focus();
        }
        return 0;
    case WM_PAINT:
        paint();
        return 0;
    case WM_CLOSE:
        on_close();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SETTINGCHANGE:
        if (wparam == SETTINGCHANGE_RESET || wparam == SPI_SETWORKAREA) {
            form_.on_command(u"#ScreenResolution#");
            form_.place_on_screen(true);
        } else if (wparam == SPI_SETSIPINFO) {
            form_.place_on_screen(true);
        }
        return 0;
    case WM_COPYDATA:
        if (auto* copy = reinterpret_cast<const CopyData*>(lparam); copy && copy->data_tag == 0) {
            std::u16string text(copy->byte_count / 2, u'\0');
            if (!text.empty() && copy->data)
                std::copy_n(static_cast<const char*>(copy->data), text.size() * 2,
                    reinterpret_cast<char*>(text.data()));
            form_.on_command_line(text);
            return 1;
        }
        return 0;
    case WM_KEYDOWN:
        form_.key_down(key_code(static_cast<int>(wparam)));
        return 0;
    case WM_SYSKEYDOWN:
        if (is_smartphone())
            form_.key_down(key_code(static_cast<int>(wparam)));
        return 0;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        form_.key_up(key_code(static_cast<int>(wparam)));
        return 0;
    case WM_CHAR:
        if (is_smartphone() && wparam >= 32)
            form_.text_input(std::u16string(1, static_cast<char16_t>(wparam)));
        return 0;
    case WM_IME_COMPOSITION:
        if (lparam & GCS_RESULTSTR) {
            std::u16string text = composition_result();
            if (!text.empty())
                form_.text_input(text);
        }
        return 0;
    case WM_COMMAND:
        // A child window's notification goes to the control that made it.
        if (lparam != 0
            && form_.child_window_notification(WindowHandle { static_cast<std::uint32_t>(lparam) },
                high_word(static_cast<Lparam>(wparam))))
            return 0;
        if (lparam == 0 && form_.context_command(static_cast<unsigned>(wparam & 0xFFFF)))
            return 0;
        return menu_ ? menu_->command(wparam, lparam) : 0;
    case WM_CONTEXTMENU:
        form_.child_window_context_menu(
            WindowHandle { static_cast<std::uint32_t>(wparam) }, point_of(lparam));
        return 0;
    case WM_INITMENUPOPUP:
        return menu_ ? menu_->menu_popup(wparam, lparam) : 0;
    case WM_HOTKEY:
        return menu_ ? menu_->hot_key(wparam, lparam) : 0;
    case WM_TIMER:
        form_.on_timer(static_cast<unsigned>(wparam));
        return 0;
    case WM_MOUSEMOVE:
        pointer_move(point_of(lparam));
        return 0;
    case WM_MOUSEWHEEL:
        wheel(static_cast<std::int16_t>((wparam >> 16) & 0xFFFF), point_of(lparam));
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        pointer_down(PointerButton::Left, point_of(lparam), message == WM_LBUTTONDBLCLK);
        return 0;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
        pointer_down(PointerButton::Middle, point_of(lparam), message == WM_MBUTTONDBLCLK);
        return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
        pointer_down(PointerButton::Right, point_of(lparam), message == WM_RBUTTONDBLCLK);
        return 0;
    case WM_LBUTTONUP:
        pointer_up(PointerButton::Left, point_of(lparam));
        return 0;
    case WM_MBUTTONUP:
        pointer_up(PointerButton::Middle, point_of(lparam));
        return 0;
    case WM_RBUTTONUP:
        pointer_up(PointerButton::Right, point_of(lparam));
        return 0;
    case WM_CAPTURECHANGED:
        on_capture_changed(lparam);
        return 0;
    case Form::KEY_MESSAGE:
        if (!is_smartphone())
            on_key_message(wparam, lparam);
        return 0;
    default:
        return default_window_procedure(window_, message, wparam, lparam);
    }
}

void FormImpl::on_activate(platform::Wparam wparam)
{
    // On a Smartphone the form's activation follows its modal loop alone.
    if (is_smartphone())
        return;
    if ((wparam & 0xFFFF) == platform::WA_INACTIVE) {
        form_.set_active(false);
        return;
    }
    form_.set_active(true);
    form_.place_on_screen();
    if (menu_ && platform::is_window_visible(window_) && !Form::fullscreen_mode())
        menu_->activated(form_, Form::fullscreen_mode());
}

void FormImpl::on_focus_message(std::uint32_t message, platform::Wparam wparam)
{
    if (!is_smartphone())
        return;
    platform::WindowHandle other { static_cast<std::uint32_t>(wparam) };
    platform::WindowHandle parent = platform::window_owner(window_);
    bool ours = other && platform::is_window(other);
    auto& log = os::log();
    if (message == platform::WM_SETFOCUS) {
        log << u"WM_SETFOCUS hwnd=" << window_.value << u" old_hwnd=" << other.value << u" par="
            << parent.value << u"\n";
        log << (ours ? u"WM_SETFOCUS from us\n" : u"WM_SETFOCUS from another app\n");
    } else {
        log << u"WM_KILLFOCUS hwnd=" << window_.value << u" new_hwnd=" << other.value << u"\n";
        log << (ours ? u"WM_KILLFOCUS to us\n" : u"WM_KILLFOCUS to another app\n");
    }
}

void FormImpl::on_close()
{
    os::log() << platform::tick_count() << u" WM_CLOSE received\n";
    if (popup_) {
        if (Form* parent = form_.parent(); parent && parent->window())
            platform::set_active_window(parent->window());
        platform::post_message(window_, Form::END_MODAL_MESSAGE);
        return;
    }
    if (!form_.can_close())
        return;
    platform::post_message(window_, Form::END_MODAL_MESSAGE);
    if (Form* parent = form_.parent(); parent && parent->window())
        platform::set_foreground_window(parent->window());
    platform::show_window(window_, false);
}

void FormImpl::on_capture_changed(platform::Lparam lparam)
{
    os::log() << u"WM_CAPTURECHANGED\n";
    release_buttons();
    platform::WindowHandle gainer { static_cast<std::uint32_t>(lparam) };
    if (popup_ && gainer != window_) {
        os::log() << u"ComboForm WM_CLOSE sent\n";
        platform::send_message(window_, platform::WM_CLOSE);
    }
}

void FormImpl::on_key_message(platform::Wparam key, platform::Lparam character)
{
    bool used = false;
    if (character >= 32)
        used = form_.text_input(std::u16string(1, static_cast<char16_t>(character)));
    if (!used)
        form_.key_down(key_code(static_cast<int>(key)));
}

void FormImpl::paint()
{
    platform::PaintSession session(window_);
    platform::Size size = form_.size();
    if (back_buffer_.is_empty() || back_buffer_.size() != size) {
        back_buffer_ = platform::Bitmap(size.width, size.height, NEW_BUFFER);
        dirty_ = { 0, 0, size.width, size.height };
    }
    platform::Rect area
        = united(dirty_, session.invalid()).intersected({ 0, 0, size.width, size.height });
    dirty_ = {};
    if (area.is_empty())
        return;
    auto draw = [&](platform::Canvas& canvas) {
        platform::Rect saved = canvas.clip();
        canvas.intersect_clip(area);
        if (form_.background().is_loaded())
            form_.background().draw(canvas, { 0, 0, size.width, size.height });
        form_.paint_controls(canvas, area);
        canvas.set_clip(saved);
    };
    platform::Canvas& screen = session.canvas();
    if (flicker_) {
        // Every repaint shows: magenta first, then the drawing straight on
        // the window.
        platform::Rect saved = screen.clip();
        screen.intersect_clip(area);
        screen.fill_rect(area, FLICKER);
        screen.set_clip(saved);
        draw(screen);
    }
    platform::Canvas back(back_buffer_);
    draw(back);
    platform::Rect saved = screen.clip();
    screen.intersect_clip(area);
    screen.draw_bitmap(back_buffer_, { 0, 0 });
    screen.set_clip(saved);
}

void FormImpl::set_hover(Control* control)
{
    if (control == hover_)
        return;
    Control* old = hover_;
    hover_ = control;
    form_.set_hover(control);
    if (old) {
        old->pointer_leave();
        old->repaint();
    }
    if (hover_) {
        hover_->pointer_enter();
        hover_->repaint();
    }
}

void FormImpl::pointer_down(PointerButton button, platform::Point point, bool double_click)
{
    if (popup_
        && !platform::Rect { 0, 0, form_.size().width, form_.size().height }.contains(point)) {
        platform::send_message(window_, platform::WM_CLOSE);
        return;
    }
    Control* capture = form_.capture();
    if (!capture) {
        Control* target = form_.control_at(point);
        if (!target || !target->is_enabled()) {
            set_hover(nullptr);
            return;
        }
        set_hover(target);
        form_.set_capture(target);
        if (target->is_focusable())
            form_.set_focus(target);
        capture = target;
        platform::set_capture(window_);
    }
    if (button == PointerButton::Left && capture->wants_gestures()) {
        auto origin = platform::window_rect(window_).value_or(platform::Rect {});
        if (platform::recognize_tap_and_hold(
                window_, { origin.left + point.x, origin.top + point.y })) {
            // A hold is a press of the right button, and its release.
            if (Control* still = form_.capture()) {
                still->pointer_down(PointerButton::Right, point, false);
                if (Control* again = form_.capture())
                    again->pointer_up(PointerButton::Right, point);
            }
            if (std::none_of(pressed_.begin(), pressed_.end(), [](bool down) { return down; })) {
                form_.set_capture(nullptr);
                platform::release_capture();
            }
            return;
        }
        capture = form_.capture();
        if (!capture)
            return;
    }
    pressed_[static_cast<std::size_t>(button)] = true;
    down_button_ = button;
    capture->pointer_down(button, point, double_click);
}

void FormImpl::pointer_up(PointerButton button, platform::Point point)
{
    Control* capture = form_.capture();
    pressed_[static_cast<std::size_t>(button)] = false;
    if (capture)
        capture->pointer_up(button, point);
    if (std::none_of(pressed_.begin(), pressed_.end(), [](bool down) { return down; })) {
        form_.set_capture(nullptr);
        if (platform::capture_window() == window_)
            platform::release_capture();
    }
}

void FormImpl::wheel(int delta, platform::Point point)
{
    Control* under = form_.control_at(point);
    if (under && under->is_enabled() && under->wheel(delta))
        return;
    if (Control* focus = form_.focused(); focus && focus != under && focus->is_enabled())
        focus->wheel(delta);
}

void FormImpl::pointer_move(platform::Point point)
{
    if (Control* capture = form_.capture()) {
        capture->pointer_move(point);
        return;
    }
    Control* target = form_.control_at(point);
    if (target && !target->is_enabled())
        target = nullptr;
    set_hover(target);
    if (hover_)
        hover_->pointer_move(point);
    platform::SystemCursor cursor = hover_ ? hover_->cursor() : platform::SystemCursor::Arrow;
    platform::set_cursor(
        cursor == platform::SystemCursor::None ? platform::SystemCursor::Arrow : cursor);
}

void FormImpl::release_buttons()
{
    pressed_ = {};
    form_.set_capture(nullptr);
}

} // namespace skinner
