#pragma once

#include "skinner/ControlPanel.h"
#include "skinner/ControlScrollBar.h"

#include <memory>

namespace skinner {

// A panel whose content may be larger than the panel: a vertical bar made
// from the node "KindScroll" ("ScrollWidth" wide) and a horizontal one
// from "KindHScroll" ("ScrollHeight" high) scroll it by moving the
// content's origin. The content lies inside "BorderMin"/"BorderMax", the
// bars inside "ScrollBorderMin"/"ScrollBorderMax". The bars are controls of
// the panel's own container, above the panel.
class ControlPanelAutoScroll : public ControlPanel {
public:
    // The bars' line step, in pixels.
    static constexpr int LINE_STEP = 16;

    ControlPanelAutoScroll(Container& container, std::u16string id,
        ControlKind kind = ControlKind::Ordinary, std::u16string node = {});
    ~ControlPanelAutoScroll() override;

    ControlScrollBar* vertical_bar() const { return vertical_.get(); }
    ControlScrollBar* horizontal_bar() const { return horizontal_.get(); }
    // Where the content shows (container coordinates).
    platform::Rect view_rect() const;
    // Scrolls so that the content's point (x, y) is at the view's top-left.
    void scroll_to(int x, int y);
    platform::Point scroll_position() const { return scroll_; }

    void read_properties() override;
    const char* class_name() const override { return "ControlPanelAutoScroll"; }

protected:
    void lay_out_content() override;
    platform::Rect content_clip() const override { return view_rect(); }

private:
    void read_scroll_properties();
    std::unique_ptr<ControlScrollBar> make_bar(const std::u16string& kind, bool vertical);
    platform::Rect bar_rect(bool vertical) const;

    std::u16string kind_vertical_;
    std::u16string kind_horizontal_;
    int scroll_width_ { 0 };
    int scroll_height_ { 0 };
    Point border_min_;
    Point border_max_;
    Point scroll_border_min_;
    Point scroll_border_max_;
    std::unique_ptr<ControlScrollBar> vertical_;
    std::unique_ptr<ControlScrollBar> horizontal_;
    platform::Point scroll_;
    bool laying_out_ { false };
};

} // namespace skinner
