#pragma once

#include "platform/MessageBox.h"
#include "platform/graphics/Canvas.h"

#include <optional>
#include <string>
#include <vector>

namespace platform::detail {

// The shell's message box as drawn on the screen: a dark title, the text
// wrapped to the box's width and a row of buttons, centred over a dimmed
// screen. It knows its look and which answer a tap or a key gives; the
// screen runs the loop around it.
class ScreenMessageBox {
public:
    ScreenMessageBox(
        std::u16string text, std::u16string caption, MessageBoxButtons buttons, int default_button);

    // Places the box on a screen of that size.
    void layout(Size screen);
    void paint(Canvas& canvas) const;

    Rect rect() const { return rect_; }
    const std::vector<Rect>& button_rects() const { return buttons_; }
    MessageBoxAnswer default_answer() const { return answers_[default_]; }

    // The answer of a tap at a screen point; nullopt outside every button.
    std::optional<MessageBoxAnswer> answer_at(Point point) const;
    // Return answers the default button, Escape cancels (Cancel, else No,
    // else the only button); nullopt for other keys.
    std::optional<MessageBoxAnswer> answer_for_key(int virtual_key) const;

private:
    std::u16string text_;
    std::u16string caption_;
    std::vector<MessageBoxAnswer> answers_;
    std::size_t default_ { 0 };
    Size screen_;
    Rect rect_;
    Rect title_;
    Rect body_;
    std::vector<Rect> buttons_;
};

} // namespace platform::detail
