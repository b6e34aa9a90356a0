#pragma once

#include "platform/Message.h"
#include "platform/graphics/Geometry.h"
#include "platform/screen/EditField.h"
#include "skinner/Form.h"

#include <string>

namespace skinner {

class ControlEdit;

// The native field behind a ControlEdit: it holds the text the user edits
// and tells the edit of changes and of its focus. Owned by its edit.
class ControlEditImpl {
public:
    virtual ~ControlEditImpl() = default;

    virtual std::u16string text() const = 0;
    virtual void set_text(const std::u16string& text) = 0;
    // The field's rectangle in the form's client coordinates.
    virtual void set_rect(const platform::Rect& rect) = 0;
    virtual void set_look(const platform::EditLook& look) = 0;
    virtual void set_read_only(bool read_only) = 0;
    virtual void set_enabled(bool enabled) = 0;
    virtual void set_visible(bool visible) = 0;
    virtual void set_input_mode(int mode) = 0;
    virtual void take_focus() = 0;
    // Gives the keyboard focus back to the form when the field has it.
    virtual void give_focus_back() = 0;
    virtual bool has_native_focus() const = 0;
    virtual platform::EditSelection selection() const = 0;
    virtual void set_selection(std::size_t anchor, std::size_t caret) = 0;
    virtual bool cut() = 0;
    virtual bool copy() = 0;
    virtual bool paste() = 0;
    virtual bool clear() = 0;
    virtual void select_all() = 0;
    // Whether paste would insert something now.
    virtual bool can_paste() const = 0;
    virtual platform::WindowHandle window() const = 0;
};

// The system's single-line edit field ("edit") as a child window of the
// form's window.
class ControlEditNativeImpl final : public ControlEditImpl, public ChildWindowOwner {
public:
    ControlEditNativeImpl(ControlEdit& edit, const platform::Rect& rect);
    ~ControlEditNativeImpl() override;

    std::u16string text() const override;
    void set_text(const std::u16string& text) override;
    void set_rect(const platform::Rect& rect) override;
    void set_look(const platform::EditLook& look) override;
    void set_read_only(bool read_only) override;
    void set_enabled(bool enabled) override;
    void set_visible(bool visible) override;
    void set_input_mode(int mode) override;
    void take_focus() override;
    void give_focus_back() override;
    bool has_native_focus() const override;
    platform::EditSelection selection() const override;
    void set_selection(std::size_t anchor, std::size_t caret) override;
    bool cut() override;
    bool copy() override;
    bool paste() override;
    bool clear() override;
    void select_all() override;
    bool can_paste() const override;
    platform::WindowHandle window() const override { return window_; }

    void child_notification(int code) override;
    // A hold in the field or the applications key: the edit's context menu.
    void child_context_menu(platform::Point point) override;

private:
    void log_focus(bool gained) const;

    ControlEdit& edit_;
    Form* form_;
    platform::WindowHandle window_;
};

} // namespace skinner
