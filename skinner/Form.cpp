#include "skinner/Form.h"

#include "platform/PopupMenu.h"

#include "os/Assertion.h"
#include "os/Log.h"
#include "platform/Convert.h"
#include "platform/MessageBox.h"
#include "platform/MessageQueue.h"
#include "platform/Screen.h"
#include "platform/Tick.h"
#include "platform/Window.h"
#include "platform/WindowTimers.h"
#include "skinner/Capabilities.h"
#include "skinner/Control.h"
#include "skinner/ElementProperties.h"
#include "skinner/FormImpl.h"
#include "skinner/FormScriptHost.h"
#include "skinner/KeyCodes.h"
#include "skinner/MenuManager.h"
#include "skinner/Skin.h"
#include "skinner/StandardControls.h"

#include <algorithm>

namespace skinner {

namespace {

std::vector<Form*>& forms()
{
    static std::vector<Form*> list;
    return list;
}

Form* current_modal = nullptr;
bool fullscreen_mode_on = false;
unsigned last_timer_id = 0;

std::u16string& window_class()
{
    static std::u16string name = u"SkinnerClass_Ringwise";
    return name;
}

bool is_live(const Form* form)
{
    return std::find(forms().begin(), forms().end(), form) != forms().end();
}

// One axis of the placement: the rule, the work area's and the parent's
// origin and size, the wanted size, the form's "Position" on the axis, and
// the window's current values, which stay unless the rule sets them.
struct Axis {
    int position;
    int size;
};

Axis place_axis(int rule, bool recompute, int work_origin, int work_size, int parent_origin,
    int parent_size, int wanted, int position, Axis current)
{
    if (rule == 3)
        return { work_origin, std::max(wanted, work_size) };
    if (!recompute)
        return current;
    switch (rule) {
    case 1:
        return { work_origin + (work_size - wanted) / 2, wanted };
    case 2:
        return { parent_origin + (parent_size - wanted) / 2, wanted };
    case 4:
        return { work_origin, wanted };
    case 5:
        return { work_origin + work_size - wanted, wanted };
    default:
        return { position, wanted };
    }
}

} // namespace

void set_form_window_class(const std::u16string& name)
{
    window_class() = name;
}

const std::u16string& form_window_class()
{
    return window_class();
}

Form::Form(Form* parent, Skin& skin, std::u16string kind, Listener* listener)
    : Container(&skin, std::move(kind), listener, this)
    , skin_(&skin)
    , parent_(parent)
{
    install_form_script_host();
    register_standard_controls();
    install_menus();
    forms().push_back(this);
    skin.add_client(this);
    read_form_properties();
    impl_.reset(std::make_unique<FormImpl>(*this));
    place_on_screen();
    build_auto_controls();
}

Form::~Form()
{
    skin_->remove_client(this);
    if (context_menu_)
        platform::destroy_menu(platform::MenuHandle { context_menu_ });
    destroy_auto_controls();
    if (current_modal == this)
        current_modal = nullptr;
    forms().erase(std::remove(forms().begin(), forms().end(), this), forms().end());
    impl_.reset(nullptr);
}

void Form::read_form_properties()
{
    ElementProperties props = ElementProperties::form(*skin_, kind());
    Point size = props.point(u"Size", {});
    set_design_size({ size.x, size.y });
    Point position = props.point(u"Position", {});
    position_ = { position.x, position.y };
    background_ = props.picture(u"Background", Picture());
    int start = props.integer(u"StartPosition", 0);
    start_position_x_ = props.integer(u"StartPositionX", start);
    start_position_y_ = props.integer(u"StartPositionY", start);
}

platform::WindowHandle Form::window() const
{
    return impl_ ? impl_->window() : platform::WindowHandle {};
}

MenuManager* Form::menu_manager() const
{
    return impl_ ? impl_->menu_manager() : nullptr;
}

void Form::set_popup(bool popup)
{
    if (impl_)
        impl_->set_popup(popup);
}

bool Form::is_popup() const
{
    return impl_ && impl_->is_popup();
}

void Form::invalidate(const platform::Rect& rect)
{
    if (impl_)
        impl_->invalidate(rect);
}

void Form::on_command(const std::u16string& text)
{
    // The control passes what it does not use back here: it then goes on
    // to the listener.
    if (!routing_command_) {
        if (Control* control = find_control(text)) {
            routing_command_ = true;
            control->on_command(text);
            routing_command_ = false;
            return;
        }
    }
    Container::on_command(text);
}

void Form::add_child_window(platform::WindowHandle child, ChildWindowOwner& owner)
{
    remove_child_window(child);
    child_windows_.emplace_back(child, &owner);
}

void Form::remove_child_window(platform::WindowHandle child)
{
    std::erase_if(child_windows_, [&](const auto& entry) { return entry.first == child; });
}

bool Form::child_window_notification(platform::WindowHandle child, int code)
{
    for (const auto& [window, owner] : child_windows_) {
        if (window == child) {
            owner->child_notification(code);
            return true;
        }
    }
    return false;
}

bool Form::child_window_context_menu(platform::WindowHandle child, platform::Point point)
{
    for (const auto& [window, owner] : child_windows_) {
        if (window == child) {
            owner->child_context_menu(point);
            return true;
        }
    }
    return false;
}

void Form::forget_control(Control& control)
{
    if (impl_)
        impl_->forget(control);
}

void Form::reload()
{
    read_form_properties();
    Container::reload();
    invalidate({ 0, 0, size().width, size().height });
}

bool Form::key_down(int key)
{
    if (Container::key_down(key))
        return true;
    if (key == KEY_ESCAPE && cancel_button_) {
        cancel_button_->set_pressed_by_key(true);
        return true;
    }
    if (key == KEY_RETURN && default_button_) {
        default_button_->set_pressed_by_key(true);
        return true;
    }
    return false;
}

bool Form::key_up(int key)
{
    if (Container::key_up(key))
        return true;
    if (key == KEY_ESCAPE && cancel_button_) {
        cancel_button_->set_pressed_by_key(false);
        return true;
    }
    if (key == KEY_RETURN && default_button_) {
        default_button_->set_pressed_by_key(false);
        return true;
    }
    return false;
}

void Form::on_timer(unsigned timer_id)
{
    Container::on_timer(timer_id);
}

void Form::place_on_screen(bool screen_changed)
{
    platform::WindowHandle own = window();
    if (!own || start_position_x_ == 6 || start_position_y_ == 6)
        return;
    platform::Size wanted = minimum_size();
    platform::Rect work = platform::work_area();
    if (!is_smartphone() && platform::is_input_panel_shown() && !fullscreen_mode_on)
        work.bottom = std::max(work.top, std::min(work.bottom, platform::input_panel_rect().top));
    platform::Rect parent = work;
    if (parent_ && parent_->window())
        parent = platform::window_rect(parent_->window()).value_or(work);
    platform::Rect current = platform::window_rect(own).value_or(platform::Rect {});
    bool recompute = first_placement_ || screen_changed;
    Axis x = place_axis(start_position_x_, recompute, work.left, work.width(), parent.left,
        parent.width(), wanted.width, work.left + position_.x, { current.left, current.width() });
    Axis y = place_axis(start_position_y_, recompute, work.top, work.height(), parent.top,
        parent.height(), wanted.height, work.top + position_.y, { current.top, current.height() });
    platform::move_window(
        own, { x.position, y.position, x.position + x.size, y.position + y.size });
    first_placement_ = false;
}

void Form::on_command_line(const std::u16string&)
{
    platform::WindowHandle own = window();
    if (!own)
        return;
    if (platform::is_window_enabled(own)) {
        platform::set_foreground_window(own);
        return;
    }
    // A modal form runs above: the first enabled window the form owns.
    for (Form* form : forms()) {
        if (form->parent_ == this && form->window() && platform::is_window_enabled(form->window())
            && platform::is_window_visible(form->window())) {
            platform::set_foreground_window(form->window());
            return;
        }
    }
}

void Form::picture_failed_to_load(const PictureFailure& picture)
{
    if (!parent_) {
        std::u16string text = u"name=" + picture.name + u"\nscale="
            + platform::from_utf8(std::to_string(picture.scale)) + u"\nbase_path="
            + picture.base_path;
        platform::message_box(
            text, skin_->translate(u"on_picture_failed_to_load", u"Out of memory"));
    }
    if (in_modal_loop_) {
        os::log() << u"Form WM_CLOSE sent\n";
        close();
    }
    if (parent_)
        parent_->picture_failed_to_load(picture);
}

unsigned Form::next_timer_id()
{
    return ++last_timer_id;
}

unsigned Form::start_timer(double seconds)
{
    unsigned id = next_timer_id();
    if (window())
        platform::set_timer(window(), id, static_cast<std::uint32_t>(seconds * 1000));
    return id;
}

void Form::kill_timer(unsigned timer_id)
{
    if (timer_id != 0 && window())
        platform::kill_timer(window(), timer_id);
}

void Form::close()
{
    if (window())
        platform::send_message(window(), platform::WM_CLOSE);
}

bool Form::show_context_menu(
    const std::vector<ContextEntry>& entries, platform::Point point, ContextMenuClient* client)
{
    if (context_menu_)
        platform::destroy_menu(platform::MenuHandle { context_menu_ });
    platform::MenuHandle menu = platform::create_popup_menu();
    context_menu_ = menu.value;
    context_commands_.clear();
    context_client_ = client;
    for (const ContextEntry& entry : entries) {
        platform::MenuItem item;
        item.id = static_cast<int>(CONTEXT_FIRST_ID + context_commands_.size());
        item.text = entry.text;
        item.enabled = entry.enabled;
        platform::append_menu_item(menu, item);
        context_commands_.push_back(entry.command);
    }
    return platform::track_popup_menu(menu, window(), point);
}

bool Form::context_command(unsigned id)
{
    if (id < CONTEXT_FIRST_ID || id >= CONTEXT_FIRST_ID + context_commands_.size())
        return false;
    std::u16string command = context_commands_[id - CONTEXT_FIRST_ID];
    ContextMenuClient* client = context_client_;
    context_commands_.clear();
    context_client_ = nullptr;
    if (client)
        client->context_menu_chosen(command);
    else
        on_command(command);
    return true;
}

void Form::forget_context_client(ContextMenuClient& client)
{
    if (context_client_ != &client)
        return;
    // Its menu's choice must not reach the form as a command either.
    context_client_ = nullptr;
    context_commands_.clear();
}

void Form::register_menu_main(Control* menu)
{
    if (menu_main_)
        report_assertion(u"Form::register_menu_main", u"Menu main is already exists");
    menu_main_ = menu;
}

void Form::unregister_menu_main(Control* menu)
{
    if (menu != menu_main_)
        report_assertion(u"Form::unregister_menu_main", u"Menus do not match");
    menu_main_ = nullptr;
}

const std::vector<Form*>& Form::live_forms()
{
    return forms();
}

Form* Form::modal_form()
{
    return current_modal;
}

bool Form::fullscreen_mode()
{
    return fullscreen_mode_on;
}

void Form::set_fullscreen_mode(bool fullscreen)
{
    if (fullscreen == fullscreen_mode_on)
        return;
    fullscreen_mode_on = fullscreen;
    platform::set_fullscreen(fullscreen);
    // Every form re-places itself in the new work area.
    for (Form* form : std::vector<Form*>(forms())) {
        if (is_live(form) && form->window())
            platform::send_message(
                form->window(), platform::WM_SETTINGCHANGE, platform::SPI_SETSIPINFO);
    }
}

void Form::do_modal()
{
    Form* previous = current_modal;
    current_modal = this;
    in_modal_loop_ = true;
    auto& log = os::log();
    log << platform::tick_count() << u" Form::do_modal: 1\n";
    log << platform::tick_count() << u" Form::do_modal: 2\n";
    set_fullscreen_mode(fullscreen_);
    platform::WindowHandle own = window();
    if (own) {
        platform::show_window(own, true);
        platform::set_foreground_window(own);
    }
    set_active(true);
    log << platform::tick_count() << u" Form::do_modal: 3\n";

    std::vector<platform::WindowHandle> disabled;
    if (parent_) {
        for (Form* form : forms()) {
            platform::WindowHandle other = form->window();
            if (form != this && other && platform::is_window_enabled(other) && !form->is_popup()) {
                platform::enable_window(other, false);
                disabled.push_back(other);
            }
        }
    }
    if (pending_work_ && menu_manager())
        menu_manager()->update();

    platform::Message message;
    for (;;) {
        platform::GetResult result = platform::get_message(message);
        if (result != platform::GetResult::Message) {
            // The end of the thread's loop ends every modal loop on it.
            if (result == platform::GetResult::Quit)
                platform::post_quit_message(static_cast<int>(message.wparam));
            break;
        }
        if (message.message == END_MODAL_MESSAGE && own && message.window == own)
            break;
        // On a Pocket PC a key and the character it makes reach a form as
        // one private message. It is handled at once rather than posted
        // behind what is queued: a key's release already waiting would
        // otherwise overtake its press.
        bool form_window
            = message.window && platform::window_class_name(message.window) == form_window_class();
        if (!is_smartphone() && form_window
            && (message.message == platform::WM_KEYDOWN
                || message.message == platform::WM_SYSKEYDOWN)) {
            platform::Message character;
            platform::Lparam merged = 0;
            if (platform::peek_message(character,
                    { message.window, platform::WM_CHAR, platform::WM_CHAR },
                    platform::Peek::Remove)
                && character.wparam >= 32)
                merged = static_cast<platform::Lparam>(character.wparam);
            platform::dispatch_message({ message.window, KEY_MESSAGE, message.wparam, merged });
            continue;
        }
        if (!is_smartphone() && form_window && message.message == platform::WM_CHAR) {
            platform::dispatch_message({ message.window, KEY_MESSAGE, 0,
                message.wparam >= 32 ? static_cast<platform::Lparam>(message.wparam) : 0 });
            continue;
        }
        platform::dispatch_message(message);
    }

    for (platform::WindowHandle other : disabled) {
        bool still_live = std::any_of(
            forms().begin(), forms().end(), [&](Form* form) { return form->window() == other; });
        if (still_live)
            platform::enable_window(other, true);
    }
    if (parent_ && is_live(parent_) && parent_->window()
        && platform::is_window_visible(parent_->window()))
        platform::set_foreground_window(parent_->window());

    set_active(false);
    in_modal_loop_ = false;
    current_modal = is_live(previous) ? previous : nullptr;
    set_fullscreen_mode(current_modal ? current_modal->fullscreen_ : false);
    if (current_modal && current_modal->pending_work_ && current_modal->menu_manager())
        current_modal->menu_manager()->update();
}

} // namespace skinner
