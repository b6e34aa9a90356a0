#pragma once

#include "platform/Message.h"
#include "skinner/Container.h"
#include "skinner/FormImplHolder.h"
#include "skinner/Picture.h"
#include "skinner/Skin.h"

#include <string>
#include <vector>

namespace skinner {

class Control;
class MenuManager;

// A picture that could not be loaded, as the form reports it.
struct PictureFailure {
    std::u16string name;
    int scale { 1 };
    std::u16string base_path;
};

// A button that Escape (the cancel button) or Return (the default button)
// presses: pressed while the key is down, firing when the press ends.
class KeyButton {
public:
    virtual void set_pressed_by_key(bool pressed) = 0;

protected:
    ~KeyButton() = default;
};

// A control that made a child window in the form's window (the native
// edit field) and hears the window's WM_COMMAND notifications.
class ChildWindowOwner {
public:
    virtual void child_notification(int code) = 0;
    // The child asked for its context menu, at a screen point.
    virtual void child_context_menu(platform::Point) { }

protected:
    ~ChildWindowOwner() = default;
};

// Takes the choice of a context menu it opened, in place of the form.
class ContextMenuClient {
public:
    virtual void context_menu_chosen(const std::u16string& command) = 0;

protected:
    ~ContextMenuClient() = default;
};

// A container with a native top-level window, its placement on the screen,
// a modal loop and a menu bar. Built from the form of `kind` in the skin:
// the constructor registers the form among the live forms, reads its
// form-level properties, creates its window, places it and builds its
// automatic controls; the application then creates its own controls.
class Form : public Container, private Skin::Client {
public:
    // The private message that ends a modal loop, and the one that carries a
    // merged key and character on a Pocket PC.
    static constexpr std::uint32_t END_MODAL_MESSAGE = 1057;
    static constexpr std::uint32_t KEY_MESSAGE = 1026;

    Form(Form* parent, Skin& skin, std::u16string kind, Listener* listener);
    ~Form() override;

    // Container operations that the form widens.
    void reload() override;
    bool key_down(int key) override;
    bool key_up(int key) override;
    // Passes the timer to every control; the control whose timer it is
    // handles it.
    void on_timer(unsigned timer_id) override;
    // A named command that equals the id of one of the form's controls goes
    // to that control first (soft keys and menu items press buttons so).
    void on_command(const std::u16string& text) override;

    // Moves and sizes the window by the placement rules. A screen change
    // recomputes everything, as the first placement does.
    virtual void place_on_screen(bool screen_changed = false);
    // Asked before a close request ends the modal loop.
    virtual bool can_close() { return true; }
    // The command line a second start of the program handed over: brings
    // the form's window to the front, or the first visible window it owns.
    virtual void on_command_line(const std::u16string& text);
    // Shows the failure (top-level form only) and closes the chain of modal
    // forms up to the top-level one.
    virtual void picture_failed_to_load(const PictureFailure& picture);

    // A window timer of `seconds` × 1000 ms with the next id of the
    // process-wide counter (the first id is 1). kill_timer(0) does nothing.
    unsigned start_timer(double seconds);
    void kill_timer(unsigned timer_id);
    static unsigned next_timer_id();

    // Shows the form and runs its modal loop until it closes.
    void do_modal();
    // Asks the form to close, as its close button does (WM_CLOSE).
    void close();

    // A context menu of named commands at a point of the screen, drawn by
    // the shell: choosing an entry raises on_command with its command, or
    // hands the command to `client` when one is given. Disabled entries show
    // but cannot be chosen. False when nothing opened (no entries).
    struct ContextEntry {
        std::u16string command;
        std::u16string text;
        bool enabled { true };
    };
    bool show_context_menu(const std::vector<ContextEntry>& entries, platform::Point point,
        ContextMenuClient* client = nullptr);
    // A client goes: a later choice of its menu does nothing.
    void forget_context_client(ContextMenuClient& client);
    // The shell's WM_COMMAND for a context-menu choice; false for other ids.
    bool context_command(unsigned id);
    static constexpr unsigned CONTEXT_FIRST_ID = 50000;

    void register_menu_main(Control* menu);
    void unregister_menu_main(Control* menu);
    Control* menu_main() const { return menu_main_; }
    MenuManager* menu_manager() const;

    Skin& get_skin() const { return *skin_; }
    Form* parent() const { return parent_; }
    platform::WindowHandle window() const;
    bool in_modal_loop() const { return in_modal_loop_; }
    // A form with pending work lets its menu manager update after every message.
    void set_pending_work(bool pending) { pending_work_ = pending; }
    bool has_pending_work() const { return pending_work_; }
    void set_fullscreen(bool fullscreen) { fullscreen_ = fullscreen; }
    bool is_fullscreen() const { return fullscreen_; }
    // A popup form closes itself when it loses the pointer capture or is
    // tapped outside.
    void set_popup(bool popup);
    bool is_popup() const;
    const Picture& background() const { return background_; }
    int start_position_x() const { return start_position_x_; }
    int start_position_y() const { return start_position_y_; }

    void set_default_button(KeyButton* button) { default_button_ = button; }
    void set_cancel_button(KeyButton* button) { cancel_button_ = button; }

    // Adds a rectangle (client coordinates) to the dirty rectangle.
    void invalidate(const platform::Rect& rect);
    // Child windows of the form's window and the controls that hear them.
    void add_child_window(platform::WindowHandle child, ChildWindowOwner& owner);
    void remove_child_window(platform::WindowHandle child);
    // Gives a child's notification to its owner; false for an unknown child.
    bool child_window_notification(platform::WindowHandle child, int code);
    // Gives a child's request for its context menu to its owner; false for
    // an unknown child.
    bool child_window_context_menu(platform::WindowHandle child, platform::Point point);

    // A control goes: the form forgets it as hover and capture control.
    void forget_control(Control& control);

    // The live forms in creation order, and the form whose modal loop runs.
    static const std::vector<Form*>& live_forms();
    static Form* modal_form();
    // The process-wide full-screen mode.
    static bool fullscreen_mode();

private:
    // The skin's language changed: the form reloads.
    void reload_texts() override { reload(); }
    void read_form_properties();
    void set_fullscreen_mode(bool fullscreen);

    Skin* skin_;
    Form* parent_;
    FormImplHolder impl_;
    bool in_modal_loop_ { false };
    bool pending_work_ { false };
    Picture background_;
    int start_position_x_ { 0 };
    int start_position_y_ { 0 };
    platform::Point position_;
    bool first_placement_ { true };
    bool fullscreen_ { false };
    Control* menu_main_ { nullptr };
    KeyButton* default_button_ { nullptr };
    KeyButton* cancel_button_ { nullptr };
    std::vector<std::pair<platform::WindowHandle, ChildWindowOwner*>> child_windows_;
    bool routing_command_ { false };
    std::vector<std::u16string> context_commands_;
    ContextMenuClient* context_client_ { nullptr };
    // The shell draws the open context menu from this menu; it lives until
    // the next context menu or the form's end.
    std::uint32_t context_menu_ { 0 };
};

// The window class of every form window of the process ("SkinnerClass_"
// and the application's name); set before the first form is made.
void set_form_window_class(const std::u16string& name);
const std::u16string& form_window_class();

} // namespace skinner
