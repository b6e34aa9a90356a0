#pragma once

#include "skinner/ControlButtonBase.h"
#include "skinner/ControlPanel.h"

#include <array>
#include <functional>
#include <memory>

namespace skinner {

// A scroll bar: a panel of five buttons made from the top-level nodes
// "KindMin" (decrement), "KindMax" (increment), "KindSpace" (both page
// areas) and "KindTrack" (the thumb), along the axis "Vertical" selects.
// It holds a range, a page and a position, set by code only; every change
// re-clamps them (maximum at least minimum, page within 0 and the range,
// position within minimum and maximum less page), and a new position
// raises on_scroll_position.
class ControlScrollBar : public ControlPanel {
public:
    enum class Part { Decrement = 0, Increment = 1, PageBefore = 2, PageAfter = 3, Thumb = 4 };

    // One of the bar's five parts. A press steps the bar at once and, held,
    // again after five periods of 0.1 s and then at every period; the thumb
    // drags instead.
    class Button : public ControlButtonBase {
    public:
        Button(ControlScrollBar& bar, Part part, const std::u16string& node);
        Part part() const { return part_; }

        void pointer_down(PointerButton button, platform::Point point, bool double_click) override;
        void pointer_move(platform::Point point) override;
        void pointer_up(PointerButton button, platform::Point point) override;
        void timer_fired() override;
        bool wheel(int delta) override { return bar_.wheel(delta); }
        // A part's firing is the bar's business, not its listener's.
        void on_control(Control&) override { }
        const char* class_name() const override { return "ControlScrollBar::Button"; }

    private:
        ControlScrollBar& bar_;
        Part part_;
        int periods_ { 0 };
        platform::Point drag_start_;
        int drag_position_ { 0 };
    };

    // The period of the auto-repeat, and the periods before it starts.
    static constexpr double REPEAT_SECONDS = 0.1;
    static constexpr int REPEAT_DELAY_PERIODS = 5;

    ControlScrollBar(Container& container, std::u16string id,
        ControlKind kind = ControlKind::Ordinary, std::u16string node = {});
    ~ControlScrollBar() override;

    void set_range(int minimum, int maximum);
    void set_page(int page);
    void set_position(int position);
    void set_line(int line) { line_ = line; }
    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }
    int page() const { return page_; }
    int position() const { return position_; }
    int line() const { return line_; }
    bool is_vertical() const { return vertical_; }

    // Moves the position as the part does once (the thumb does not step).
    void step(Part part);
    Button* part(Part which) const { return parts_[static_cast<std::size_t>(which)].get(); }
    // Heard before on_scroll_position is raised (the scrolling panel).
    void set_position_observer(std::function<void(int)> observer)
    {
        observer_ = std::move(observer);
    }

    // Where the bar goes whenever its container lays it out (a scrolling
    // panel places its bars itself); none: by its anchors.
    void set_placement(std::function<platform::Rect()> placement)
    {
        placement_ = std::move(placement);
    }

    // WHEEL_LINES lines a notch, towards the minimum when turned away from
    // the user.
    bool wheel(int delta) override;
    static constexpr int WHEEL_LINES = 3;

    void laid_out() override;
    void read_properties() override;
    std::string describe() const override;
    const char* class_name() const override { return "ControlScrollBar"; }

protected:
    void lay_out_content() override;

private:
    friend class Button;
    void read_bar_properties();
    void clamp_and_report(int old_position);
    // The length of the track between the two step buttons, and the
    // thumb's length in it.
    int track_length() const;
    int thumb_length() const;
    void drag_thumb(int start_position, int travel);

    bool vertical_ { false };
    int min_button_size_ { 0 };
    int max_button_size_ { 0 };
    std::array<std::u16string, 4> kinds_;
    std::array<std::unique_ptr<Button>, 5> parts_;
    int minimum_ { 0 };
    int maximum_ { 0 };
    int page_ { 1 };
    int position_ { 0 };
    int line_ { 1 };
    std::function<void(int)> observer_;
    std::function<platform::Rect()> placement_;
};

} // namespace skinner
