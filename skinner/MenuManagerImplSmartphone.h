#pragma once

#include "skinner/MenuManagerImpl.h"

namespace skinner {

// A Smartphone form's menu bar: the two soft keys, written into the bar's
// buttons 18201 (left) and 18200 (right), and the back key, which deletes a
// character in an edit field, goes to the form as Escape and Backspace, and
// otherwise takes the user back to the previous application.
class MenuManagerImplSmartphone final : public MenuManagerImpl {
public:
    MenuManagerImplSmartphone(Form& form, platform::WindowHandle window);
    ~MenuManagerImplSmartphone() override;

    platform::Lresult hot_key(platform::Wparam wparam, platform::Lparam lparam) override;

    int resource_id() const { return resource_id_; }

protected:
    void rebuild() override;
    int table_id(int command_id) const override;

private:
    int resource_id_ { 0 };
    bool bar_ { false };
    bool want_to_go_back_ { false };
};

} // namespace skinner
