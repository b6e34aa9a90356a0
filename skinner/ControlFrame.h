#pragma once

#include "skinner/Control.h"
#include "skinner/TextLines.h"

#include <vector>

namespace skinner {

// A label: the "Normal" picture with a text on one line or, with "Wrap",
// broken into lines inside the insets "BorderMin" and "BorderMax". With
// "AutoSize" it asks for the room its text takes; with "Ellipsis" a text
// that does not fit ends in U+2026.
class ControlFrame : public Control {
public:
    ControlFrame(Container& container, std::u16string id, ControlKind kind = ControlKind::Ordinary,
        std::u16string node = {});

    void set_text(const std::u16string& text);
    const std::u16string& text() const { return text_; }
    const std::vector<TextLine>& lines() const { return lines_; }
    // The widest line plus both horizontal insets, by the lines' heights
    // plus both vertical insets.
    platform::Size text_extent() const { return extent_; }

    // The string that ends a line in every wrapped frame, besides the line
    // feed (empty: none); set by the application.
    static void set_separator(const std::u16string& separator);

    void paint(platform::Canvas& canvas) override;
    void set_rect(platform::Point position, platform::Size size) override;
    platform::Size preferred_size() const override;
    void read_properties() override;
    std::string describe() const override;
    const char* class_name() const override { return "ControlFrame"; }

private:
    void read_frame_properties();
    void lay_out_text();
    platform::Rect inset_rect() const;

    Point border_min_;
    Point border_max_;
    HAlignment h_alignment_ { HAlignment::CENTER };
    VAlignment v_alignment_ { VAlignment::VCENTER };
    StateLook normal_;
    std::u16string text_;
    bool wrap_ { false };
    bool auto_size_ { false };
    bool ellipsis_ { false };
    std::vector<TextLine> lines_;
    platform::Size extent_;
};

} // namespace skinner
