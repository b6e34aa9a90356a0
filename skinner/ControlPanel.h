#pragma once

#include "skinner/Container.h"
#include "skinner/Control.h"

#include <memory>

namespace skinner {

// A control with a container of its own, filled with the controls and the
// automatic controls of the form "FormTemplate" of the skin and laid out by
// their anchors inside the panel's rectangle. The pointer, keys, timers and
// painting go on into that container; its controls' events come to the
// panel and pass on to the panel's own container.
class ControlPanel : public Control {
public:
    ControlPanel(Container& container, std::u16string id, ControlKind kind = ControlKind::Ordinary,
        std::u16string node = {});
    ~ControlPanel() override;

    // Where the panel's controls live (application controls are made in it).
    Container& panel_container() { return *inner_; }
    const std::u16string& form_template() const { return template_; }
    const Picture& background() const { return background_; }

    void paint(platform::Canvas& canvas) override;
    void set_rect(platform::Point position, platform::Size size) override;
    void gain_focus() override;
    void lose_focus() override;
    void pointer_leave() override;
    void pointer_move(platform::Point point) override;
    void pointer_down(PointerButton button, platform::Point point, bool double_click) override;
    void pointer_up(PointerButton button, platform::Point point) override;
    bool text_input(const std::u16string& text) override;
    bool key_down(int key) override;
    bool key_up(int key) override;
    void timer_dispatch(unsigned timer_id) override;
    void read_properties() override;
    const char* class_name() const override { return "ControlPanel"; }

protected:
    // Gives the panel's container its rectangle; panels that place their
    // content differently override it.
    virtual void lay_out_content();
    // The part of the panel its controls are drawn in (container coordinates).
    virtual platform::Rect content_clip() const { return rect(); }

private:
    void read_panel_properties();
    void set_inner_hover(Control* control);

    std::u16string template_;
    Picture background_;
    std::unique_ptr<Container> inner_;
};

} // namespace skinner
