#pragma once

#include "skinner/MenuManagerImpl.h"

namespace skinner {

// A Pocket PC form's menu bar: two soft keys when the system's menus are
// soft keys (major version above 4), otherwise a command bar whose buttons
// are the items, with images from the toolbar strip, and drop-down buttons
// for items with sub-items. Built from a template of the variant's pool
// when made; gives the template back when destroyed.
class MenuManagerImplPocket final : public MenuManagerImpl {
public:
    MenuManagerImplPocket(Form& form, platform::WindowHandle window, bool soft_keys);
    ~MenuManagerImplPocket() override;

    void set_visible(bool visible) override;

    int resource_id() const { return resource_id_; }
    bool has_bar() const { return bar_; }
    int image_count() const { return image_count_; }

protected:
    void rebuild() override;
    std::vector<Item*> popup_items(int button_id) override;

private:
    void build();
    void load_images();
    void rebuild_command_bar();

    bool soft_keys_;
    int resource_id_ { 0 };
    bool bar_ { false };
    int image_count_ { 0 };
    // The soft keys' current command ids: the template's until the first
    // update gives them the table's.
    int left_id_;
    int right_id_;
};

} // namespace skinner
