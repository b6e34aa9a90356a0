#include "os/Log.h"
#include "platform/Screen.h"
#include "platform/Window.h"
#include "skinner/ControlEdit.h"
#include "skinner/ControlEditImpl.h"

namespace skinner {

namespace {

// Ids of the fields, as their WM_COMMAND notifications carry them.
int next_field_id()
{
    static int id = 100;
    return id++;
}

} // namespace

ControlEditNativeImpl::ControlEditNativeImpl(ControlEdit& edit, const platform::Rect& rect)
    : edit_(edit)
    , form_(edit.form())
{
    platform::WindowHandle parent = form_ ? form_->window() : platform::WindowHandle {};
    window_ = platform::create_edit_field(parent, next_field_id(), rect);
    os::log() << u"ControlEditNativeImpl::ControlEditNativeImpl hwnd=" << window_.value
              << u" form_hwnd=" << parent.value << u"\n";
    if (window_ && form_)
        form_->add_child_window(window_, *this);
}

ControlEditNativeImpl::~ControlEditNativeImpl()
{
    if (!window_)
        return;
    if (form_)
        form_->remove_child_window(window_);
    give_focus_back();
    platform::destroy_window(window_);
}

std::u16string ControlEditNativeImpl::text() const
{
    return platform::edit_text(window_);
}

void ControlEditNativeImpl::set_text(const std::u16string& text)
{
    platform::set_edit_text(window_, text);
}

void ControlEditNativeImpl::set_rect(const platform::Rect& rect)
{
    if (window_ && platform::window_rect(window_) != rect)
        platform::move_window(window_, rect);
}

void ControlEditNativeImpl::set_look(const platform::EditLook& look)
{
    platform::set_edit_look(window_, look);
}

void ControlEditNativeImpl::set_read_only(bool read_only)
{
    platform::set_edit_read_only(window_, read_only);
}

void ControlEditNativeImpl::set_enabled(bool enabled)
{
    if (window_ && platform::is_window_enabled(window_) != enabled)
        platform::enable_window(window_, enabled);
}

void ControlEditNativeImpl::set_visible(bool visible)
{
    if (window_ && platform::is_window_visible(window_) != visible)
        platform::show_window(window_, visible);
}

void ControlEditNativeImpl::set_input_mode(int mode)
{
    platform::set_edit_input_mode(window_, mode);
}

void ControlEditNativeImpl::take_focus()
{
    if (window_ && platform::focus_window() != window_)
        platform::set_focus(window_);
}

void ControlEditNativeImpl::give_focus_back()
{
    if (window_ && platform::focus_window() == window_ && form_ && form_->window())
        platform::set_focus(form_->window());
}

bool ControlEditNativeImpl::has_native_focus() const
{
    return window_ && platform::focus_window() == window_;
}

platform::EditSelection ControlEditNativeImpl::selection() const
{
    return platform::edit_selection(window_);
}

void ControlEditNativeImpl::set_selection(std::size_t anchor, std::size_t caret)
{
    platform::set_edit_selection(window_, anchor, caret);
}

bool ControlEditNativeImpl::cut()
{
    return platform::edit_cut(window_);
}

bool ControlEditNativeImpl::copy()
{
    return platform::edit_copy(window_);
}

bool ControlEditNativeImpl::paste()
{
    return platform::edit_paste(window_);
}

bool ControlEditNativeImpl::clear()
{
    return platform::edit_clear(window_);
}

void ControlEditNativeImpl::select_all()
{
    platform::edit_select_all(window_);
}

bool ControlEditNativeImpl::can_paste() const
{
    return platform::edit_can_paste(window_);
}

void ControlEditNativeImpl::child_context_menu(platform::Point point)
{
    edit_.context_menu().show(point);
}

void ControlEditNativeImpl::log_focus(bool gained) const
{
    platform::WindowHandle other = platform::edit_focus_peer(window_);
    platform::WindowHandle parent = platform::window_parent(window_);
    bool ours = other && platform::is_window(other);
    auto& log = os::log();
    if (gained) {
        log << u"ControlEditNativeImpl::WM_SETFOCUS hwnd=" << window_.value << u" old_hwnd="
            << other.value << u" par=" << parent.value << u"\n";
        log << (ours ? u"ControlEditNativeImpl::WM_SETFOCUS from us\n"
                     : u"ControlEditNativeImpl::WM_SETFOCUS from another app\n");
    } else {
        log << u"ControlEditNativeImpl::WM_KILLFOCUS hwnd=" << window_.value << u" new_hwnd="
            << other.value << u"\n";
        log << (ours ? u"ControlEditNativeImpl::WM_KILLFOCUS to us\n"
                     : u"ControlEditNativeImpl::WM_KILLFOCUS to another app\n");
    }
}

void ControlEditNativeImpl::child_notification(int code)
{
    switch (code) {
    case platform::EN_CHANGE: {
        std::u16string now = text();
        if (edit_.native_text_changed(now))
            os::log() << u"ControlEditNativeImpl::on_en_change text=" << now << u"\n";
        break;
    }
    case platform::EN_SETFOCUS:
        log_focus(true);
        edit_.native_focus_gained();
        break;
    case platform::EN_KILLFOCUS:
        log_focus(false);
        break;
    default:
        break;
    }
}

} // namespace skinner
