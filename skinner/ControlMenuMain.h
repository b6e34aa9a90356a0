#pragma once

#include "skinner/Control.h"

#include <string>

namespace skinner {

class Form;

// The main menu of a form: the control its menu entries (MenuMainButton,
// MenuMainSubMenu) belong to. It registers itself with the form
// (register_menu_main, so a form has at most one), is never focused and
// draws nothing: the entries appear in the shell's menu bar, as soft keys
// on a Smartphone and on newer Pocket PCs, or as the buttons of a command
// bar.
//
// Usage, in a form's constructor:
//
//     menu_ = std::make_unique<skinner::ControlMenuMain>(*this, u"menuMain");
//     cancel_ = std::make_unique<skinner::MenuMainButton>(
//         *menu_, u"Cancel", translate_or(u"Cancel", u":)"), u"#smartphone_ok#");
//     correct_ = std::make_unique<skinner::MenuMainButton>(
//         *menu_, u"Correct", text, u"#smartphone_ok#");
//     correct_->set_visible(false);
//
// Choosing an entry gives the form (its on_command, or its listener's) the
// entry's id as a named command; a hidden entry is not in the menu. Destroy
// the entries before the menu.
//
// Right before the shell opens one of the bar's popups, the menu raises
// on_menu_opening(menu) (it reaches the form's listener like every event),
// so a form can rebuild its entries there: make and destroy entries, set
// texts and check marks; the popup shows them as they are on return.
//
// The control reads the skin's control of its id when the form has one
// (for its z-order); without one it reads nothing.
class ControlMenuMain : public Control {
public:
    ControlMenuMain(Form& form, std::u16string id);
    ~ControlMenuMain() override;

    // Raises on_menu_opening: the menu bar is about to open a popup.
    void popup_opening();

    bool is_focusable() const override { return false; }
    const char* class_name() const override { return "ControlMenuMain"; }
};

} // namespace skinner
