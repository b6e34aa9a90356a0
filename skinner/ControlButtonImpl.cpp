#include "skinner/ControlButtonImpl.h"

#include "os/Log.h"
#include "platform/MessageQueue.h"
#include "platform/Window.h"
#include "skinner/ControlButtonBase.h"
#include "skinner/Form.h"
#include "skinner/MenuManager.h"

namespace skinner {

namespace {

// Drawn on the form and focusable.
class ControlButtonImplPocket final : public ControlButtonImpl {
public:
    explicit ControlButtonImplPocket(ControlButtonBase& button)
        : ControlButtonImpl(button, true, true)
    {
    }
    const char* name() const override { return "ControlButtonImplPocket"; }
};

// Drawn on the form, never focused: on a Smartphone the focus moves
// between soft-key items and fields only.
class ControlButtonStaticSmartphone final : public ControlButtonImpl {
public:
    explicit ControlButtonStaticSmartphone(ControlButtonBase& button)
        : ControlButtonImpl(button, true, false)
    {
    }
    const char* name() const override { return "ControlButtonStaticSmartphone"; }
};

// The window's borders and corners, and buttons the device has no use for.
class ControlButtonImplHidden final : public ControlButtonImpl {
public:
    explicit ControlButtonImplHidden(ControlButtonBase& button)
        : ControlButtonImpl(button, false, false)
    {
    }
    const char* name() const override { return "ControlButtonImplHidden"; }
};

// Not drawn: its text is the title of the form's window.
class ControlButtonImplCaption final : public ControlButtonImpl {
public:
    explicit ControlButtonImplCaption(ControlButtonBase& button)
        : ControlButtonImpl(button, false, false)
    {
        ControlButtonImplCaption::text_changed();
    }
    void text_changed() override
    {
        Form* form = button_.form();
        if (!form)
            return;
        if (form->window())
            platform::set_window_text(form->window(), button_.text());
        if (SoftKeyItems* items = soft_key_items())
            items->title_changed(*form, button_.text());
    }
    const char* name() const override { return "ControlButtonImplCaption"; }
};

// Closes the form when it fires.
class ControlButtonImplClosePocket final : public ControlButtonImpl {
public:
    explicit ControlButtonImplClosePocket(ControlButtonBase& button)
        : ControlButtonImpl(button, true, true)
    {
    }
    void fired() override
    {
        if (Form* form = button_.form(); form && form->window()) {
            os::log() << u"ControlButtonImplClosePocket WM_CLOSE sent\n";
            platform::send_message(form->window(), platform::WM_CLOSE);
        }
    }
    const char* name() const override { return "ControlButtonImplClosePocket"; }
};

// An item of the form's soft-key menu: not drawn on the form; the menu
// shows it and its choice sends `command` (empty: the button's id, which
// fires it).
class SoftKeyItem : public ControlButtonImpl {
public:
    SoftKeyItem(ControlButtonBase& button, std::u16string command)
        : ControlButtonImpl(button, false, false)
        , command_(std::move(command))
    {
        if (SoftKeyItems* items = soft_key_items(); items && button_.form())
            items->add_item(*button_.form(), button_, command_);
    }
    ~SoftKeyItem() override
    {
        if (SoftKeyItems* items = soft_key_items(); items && button_.form())
            items->remove_item(*button_.form(), button_);
    }
    void text_changed() override
    {
        if (SoftKeyItems* items = soft_key_items(); items && button_.form())
            items->item_text_changed(*button_.form(), button_, button_.text());
    }
    void checked_changed() override
    {
        if (SoftKeyItems* items = soft_key_items(); items && button_.form())
            items->item_checked_changed(*button_.form(), button_, button_.is_checked());
    }
    void enabled_changed() override
    {
        if (SoftKeyItems* items = soft_key_items(); items && button_.form())
            items->item_enabled_changed(*button_.form(), button_, button_.is_enabled());
    }
    std::u16string command() const override { return command_; }

private:
    std::u16string command_;
};

class ControlButtonSoftKeySmartphone final : public SoftKeyItem {
public:
    using SoftKeyItem::SoftKeyItem;
    const char* name() const override { return "ControlButtonSoftKeySmartphone"; }
};

class ControlButtonImplSoftKeyPocket final : public SoftKeyItem {
public:
    using SoftKeyItem::SoftKeyItem;
    const char* name() const override { return "ControlButtonImplSoftKeyPocket"; }
};

// The soft-key item that closes the form.
class ControlButtonCloseSmartphone final : public SoftKeyItem {
public:
    explicit ControlButtonCloseSmartphone(ControlButtonBase& button)
        : SoftKeyItem(button, {})
    {
    }
    void fired() override
    {
        if (Form* form = button_.form(); form && form->window()) {
            os::log() << u"ControlButtonCloseSmartphone WM_CLOSE sent\n";
            platform::send_message(form->window(), platform::WM_CLOSE);
        }
    }
    const char* name() const override { return "ControlButtonCloseSmartphone"; }
};

// The OK button of the title bar of a Pocket PC form without soft keys.
class ControlButtonImplOkPocket final : public ControlButtonImpl {
public:
    explicit ControlButtonImplOkPocket(ControlButtonBase& button)
        : ControlButtonImpl(button, false, false)
    {
        if (SoftKeyItems* items = soft_key_items(); items && button_.form())
            items->set_title_ok_button(*button_.form(), &button_);
    }
    ~ControlButtonImplOkPocket() override
    {
        if (SoftKeyItems* items = soft_key_items(); items && button_.form())
            items->set_title_ok_button(*button_.form(), nullptr);
    }
    const char* name() const override { return "ControlButtonImplOkPocket"; }
};

constexpr char16_t SMARTPHONE_OK[] = u"#smartphone_ok#";
constexpr char16_t SMARTPHONE_MENU[] = u"#smartphone_menu#";

std::unique_ptr<ControlButtonImpl> smartphone_impl(ControlButtonBase& button, Action action)
{
    switch (action) {
    case Action::CAPTION:
        return std::make_unique<ControlButtonImplCaption>(button);
    case Action::BORDER_LEFT:
    case Action::BORDER_RIGHT:
    case Action::BORDER_BOTTOM:
    case Action::BORDER_TOP:
    case Action::CORNER_BOTTOM_LEFT:
    case Action::CORNER_BOTTOM_RIGHT:
    case Action::CORNER_TOP_LEFT:
    case Action::CORNER_TOP_RIGHT:
    case Action::BUTTON_MINIMIZE:
    case Action::BUTTON_MAXIMIZE:
        return std::make_unique<ControlButtonImplHidden>(button);
    case Action::BUTTON_CLOSE:
        return std::make_unique<ControlButtonCloseSmartphone>(button);
    case Action::BUTTON_SYSMENU:
        return nullptr;
    case Action::BUTTON_OK:
    case Action::BUTTON_YES:
        return std::make_unique<ControlButtonSoftKeySmartphone>(button, SMARTPHONE_OK);
    case Action::BUTTON_CANCEL:
        return std::make_unique<ControlButtonSoftKeySmartphone>(button, SMARTPHONE_MENU);
    case Action::BUTTON_NO_MENU:
        return std::make_unique<ControlButtonImplPocket>(button);
    case Action::NOTHING:
    default:
        // A skinned element of the form's frame, or a control that takes
        // no focus, stays on the form; a focusable one is a menu item.
        if (button.kind() == ControlKind::TopLevel || !button.Control::is_focusable())
            return std::make_unique<ControlButtonStaticSmartphone>(button);
        return std::make_unique<ControlButtonSoftKeySmartphone>(button, std::u16string());
    }
}

std::unique_ptr<ControlButtonImpl> pocket_impl(
    ControlButtonBase& button, Action action, bool soft_key_menus)
{
    switch (action) {
    case Action::CAPTION:
        return std::make_unique<ControlButtonImplCaption>(button);
    case Action::BORDER_LEFT:
    case Action::BORDER_RIGHT:
    case Action::BORDER_BOTTOM:
    case Action::BORDER_TOP:
    case Action::CORNER_BOTTOM_LEFT:
    case Action::CORNER_BOTTOM_RIGHT:
    case Action::CORNER_TOP_LEFT:
    case Action::CORNER_TOP_RIGHT:
        return std::make_unique<ControlButtonImplHidden>(button);
    case Action::BUTTON_CLOSE:
        return std::make_unique<ControlButtonImplClosePocket>(button);
    case Action::BUTTON_SYSMENU:
        return nullptr;
    case Action::BUTTON_OK:
        if (soft_key_menus)
            return std::make_unique<ControlButtonImplSoftKeyPocket>(button, std::u16string());
        return std::make_unique<ControlButtonImplOkPocket>(button);
    case Action::BUTTON_YES:
        if (soft_key_menus)
            return std::make_unique<ControlButtonImplSoftKeyPocket>(button, SMARTPHONE_OK);
        return std::make_unique<ControlButtonImplPocket>(button);
    case Action::BUTTON_CANCEL:
        if (soft_key_menus)
            return std::make_unique<ControlButtonImplSoftKeyPocket>(button, SMARTPHONE_MENU);
        return std::make_unique<ControlButtonImplPocket>(button);
    case Action::BUTTON_MINIMIZE:
    case Action::BUTTON_MAXIMIZE:
    case Action::BUTTON_NO_MENU:
    case Action::NOTHING:
    default:
        return std::make_unique<ControlButtonImplPocket>(button);
    }
}

} // namespace

ControlButtonImpl::ControlButtonImpl(ControlButtonBase& button, bool shown, bool focusable)
    : button_(button)
    , shown_(shown)
    , focusable_(focusable)
{
}

std::unique_ptr<ControlButtonImpl> make_button_impl(
    ControlButtonBase& button, Action action, bool smartphone, bool soft_key_menus)
{
    if (smartphone)
        return smartphone_impl(button, action);
    return pocket_impl(button, action, soft_key_menus);
}

} // namespace skinner
