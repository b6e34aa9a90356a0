#include "platform/screen/ScreenMessageBox.h"

#include "platform/Screen.h"
#include "platform/graphics/TextRenderer.h"
#include "platform/screen/SystemBars.h"

#include <algorithm>

namespace platform::detail {

namespace {

constexpr int PADDING = 12;
constexpr int BUTTON_GAP = 8;
constexpr Color BOX_COLOR = make_color(0xF4, 0xF5, 0xF7);
constexpr Color BOX_TEXT_COLOR = make_color(0x20, 0x20, 0x20);
constexpr Color BUTTON_COLOR = make_color(0xDD, 0xE1, 0xE6);
constexpr Color DEFAULT_BUTTON_COLOR = make_color(0x3D, 0x6F, 0xB6);

std::u16string label_of(MessageBoxAnswer answer)
{
    switch (answer) {
    case MessageBoxAnswer::Ok:
        return u"OK";
    case MessageBoxAnswer::Cancel:
        return u"Cancel";
    case MessageBoxAnswer::Abort:
        return u"Abort";
    case MessageBoxAnswer::Retry:
        return u"Retry";
    case MessageBoxAnswer::Ignore:
        return u"Ignore";
    case MessageBoxAnswer::Yes:
        return u"Yes";
    case MessageBoxAnswer::No:
        return u"No";
    }
    return u"OK";
}

Font text_font()
{
    return bar_font(34, 400);
}

// Each pixel halfway to black: the screen behind the box is out of reach.
void dim(Bitmap& bitmap)
{
    Color* pixel = bitmap.data();
    for (std::size_t i = 0, n = std::size_t(bitmap.width()) * bitmap.height(); i < n; ++i)
        pixel[i] = 0xFF000000u | ((pixel[i] >> 1) & 0x7F7F7Fu);
}

} // namespace

ScreenMessageBox::ScreenMessageBox(
    std::u16string text, std::u16string caption, MessageBoxButtons buttons, int default_button)
    : text_(std::move(text))
    , caption_(std::move(caption))
    , answers_(message_box_answers(buttons))
{
    if (default_button > 0 && static_cast<std::size_t>(default_button) < answers_.size())
        default_ = static_cast<std::size_t>(default_button);
}

void ScreenMessageBox::layout(Size screen)
{
    screen_ = screen;
    int width = std::min(screen.width - 2 * PADDING, 360);
    Font font = text_font();
    int title_height = std::max(26, measure_text(bar_font(34, 700), u"Ag").height + 12);
    int inner = width - 2 * PADDING;
    int text_height = measure_text(font, text_, inner).height;
    int line = measure_text(font, u"Ag").height;
    int button_height = line + 14;
    int max_text = std::max(line, screen.height - 4 * PADDING - title_height - button_height);
    text_height = std::clamp(text_height, line, max_text);
    int height = title_height + PADDING + text_height + PADDING + button_height + PADDING;

    int left = (screen.width - width) / 2;
    int top = std::max(0, (screen.height - height) / 2);
    rect_ = { left, top, left + width, top + height };
    title_ = { left, top, left + width, top + title_height };
    body_ = { left + PADDING, title_.bottom + PADDING, rect_.right - PADDING,
        title_.bottom + PADDING + text_height };

    buttons_.clear();
    int count = static_cast<int>(answers_.size());
    int button_width = std::min(96, (inner - (count - 1) * BUTTON_GAP) / count);
    int row = count * button_width + (count - 1) * BUTTON_GAP;
    int x = left + (width - row) / 2;
    int y = rect_.bottom - PADDING - button_height;
    for (int i = 0; i < count; ++i) {
        buttons_.push_back({ x, y, x + button_width, y + button_height });
        x += button_width + BUTTON_GAP;
    }
}

void ScreenMessageBox::paint(Canvas& canvas) const
{
    dim(canvas.target());
    canvas.fill_rect(rect_.translated(-1, -1), BAR_EDGE_COLOR);
    canvas.fill_rect({ rect_.left, rect_.top, rect_.right + 1, rect_.bottom + 1 }, BAR_EDGE_COLOR);
    canvas.fill_rect(rect_, BOX_COLOR);
    canvas.fill_rect(title_, BAR_COLOR);
    draw_text(canvas, bar_font(34, 700), caption_,
        { title_.left + PADDING, title_.top, title_.right - PADDING, title_.bottom },
        TEXT_LEFT | TEXT_VCENTER | TEXT_SINGLELINE | TEXT_END_ELLIPSIS, BAR_TEXT_COLOR);
    draw_text(canvas, text_font(), text_, body_, TEXT_LEFT | TEXT_WORDBREAK, BOX_TEXT_COLOR);
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        bool is_default = i == default_;
        canvas.fill_rect(buttons_[i], is_default ? DEFAULT_BUTTON_COLOR : BUTTON_COLOR);
        draw_text(canvas, text_font(), label_of(answers_[i]), buttons_[i],
            TEXT_CENTER | TEXT_VCENTER | TEXT_SINGLELINE,
            is_default ? BAR_TEXT_COLOR : BOX_TEXT_COLOR);
    }
}

std::optional<MessageBoxAnswer> ScreenMessageBox::answer_at(Point point) const
{
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        if (buttons_[i].contains(point))
            return answers_[i];
    }
    return std::nullopt;
}

std::optional<MessageBoxAnswer> ScreenMessageBox::answer_for_key(int virtual_key) const
{
    if (virtual_key == VK_RETURN)
        return default_answer();
    if (virtual_key != VK_ESCAPE)
        return std::nullopt;
    for (MessageBoxAnswer cancel : { MessageBoxAnswer::Cancel, MessageBoxAnswer::No }) {
        if (std::find(answers_.begin(), answers_.end(), cancel) != answers_.end())
            return cancel;
    }
    if (answers_.size() == 1)
        return answers_.front();
    return std::nullopt;
}

} // namespace platform::detail
