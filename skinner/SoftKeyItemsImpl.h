#pragma once

#include "skinner/MenuManager.h"

namespace skinner {

// The menus' side of SoftKeyItems: a soft-key button's item lives in its
// form's menu bar (a MenuManagerImpl), and a caption button's text is the
// window's title, which the Smartphone's task bar is asked to redraw.
class SoftKeyItemsImpl final : public SoftKeyItems {
public:
    void add_item(Form& form, Control& button, const std::u16string& command) override;
    void remove_item(Form& form, Control& button) override;
    void item_text_changed(Form& form, Control& button, const std::u16string& text) override;
    void item_checked_changed(Form& form, Control& button, bool checked) override;
    void item_enabled_changed(Form& form, Control& button, bool enabled) override;
    void set_title_ok_button(Form& form, Control* button) override;
    void title_changed(Form& form, const std::u16string& title) override;
};

} // namespace skinner
