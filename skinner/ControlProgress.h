#pragma once

#include "skinner/Control.h"

#include <optional>

namespace skinner {

// A progress bar that is also a slider. Its value, 0 to 1, grows in the
// direction of "Orientation": 0 top to bottom, 1 right to left, 2 bottom to
// top, 3 left to right. Dragging it asks the listener for a value
// (on_value_requested); the bar changes its value only when code sets it.
class ControlProgressBase : public Control {
public:
    ControlProgressBase(Container& container, std::u16string id,
        ControlKind kind = ControlKind::Ordinary, std::u16string node = {});

    double value() const { return value_; }
    // Clamped to 0 to 1; a change raises on_value_changed and repaints.
    void set_value(double value);
    int orientation() const { return orientation_; }
    bool is_dragging() const { return dragging_; }

    // The part of the rectangle the value covers, from where it grows.
    platform::Rect covered_rect() const;
    // The value at a point (container coordinates), clamped; none when the
    // bar leaves the thumb no room to move.
    std::optional<double> value_at(platform::Point point) const;

    void paint(platform::Canvas& canvas) override;
    void pointer_down(PointerButton button, platform::Point point, bool double_click) override;
    void pointer_move(platform::Point point) override;
    void pointer_up(PointerButton button, platform::Point point) override;
    void read_properties() override;
    std::string describe() const override;
    const char* class_name() const override { return "ControlProgressBase"; }

private:
    void read_progress_properties();
    bool vertical() const { return orientation_ == 0 || orientation_ == 2; }
    bool mirrored() const { return orientation_ == 1 || orientation_ == 2; }
    void request(platform::Point point);

    double value_ { 0 };
    int orientation_ { 3 };
    int track_size_ { 0 };
    Picture background_;
    Picture track_;
    Picture track_disabled_;
    Picture progress_;
    bool dragging_ { false };
};

class ControlProgress : public ControlProgressBase {
public:
    using ControlProgressBase::ControlProgressBase;
    const char* class_name() const override { return "ControlProgress"; }
};

} // namespace skinner
