#include "platform/screen/SystemBars.h"

#include "platform/Screen.h"
#include "platform/graphics/TextRenderer.h"
#include "platform/screen/ShellStyle.h"

#include <algorithm>
#include <map>
#include <tuple>

namespace platform::detail {

namespace {

// Fonts are made once per size: the bars are drawn at every composition.
Font cached_font(const std::u16string& face, int pixels, int weight)
{
    static std::map<std::tuple<std::u16string, int, int>, Font> fonts;
    auto key = std::make_tuple(face, pixels, weight);
    auto found = fonts.find(key);
    if (found == fonts.end())
        found = fonts.emplace(key, Font::create({ face, -pixels, weight, false, false })).first;
    return found->second;
}

} // namespace

// The bar's text is a little under half the bar's height, never smaller
// than the device's small text.
Font bar_font(int bar_height, int weight)
{
    return cached_font(u"Tahoma", std::max(11, bar_height * 4 / 10), weight);
}

Font shell_font(int pixels, int weight)
{
    return cached_font(u"DejaVu Sans", pixels, weight);
}

BarLayout bar_layout(Size screen, bool smartphone, bool fullscreen)
{
    BarLayout layout;
    if (fullscreen)
        return layout;
    int height = std::min(system_bar_height(screen, smartphone), screen.height / 2);
    if (height <= 0)
        return layout;
    layout.top = { 0, 0, screen.width, height };
    layout.bottom = { 0, screen.height - height, screen.width, screen.height };
    if (!smartphone)
        layout.close = { screen.width - height, 0, screen.width, height };
    return layout;
}

void paint_top_bar(
    Canvas& canvas, const BarLayout& layout, std::u16string_view title, bool pressed, bool ok)
{
    Rect bar = layout.top;
    if (bar.is_empty())
        return;
    canvas.fill_rect(bar, BAR_COLOR);
    canvas.fill_rect({ bar.left, bar.bottom - 1, bar.right, bar.bottom }, BAR_EDGE_COLOR);
    int padding = std::max(6, bar.height() / 4);
    int text_right = layout.close.is_empty() ? bar.right - padding : layout.close.left;
    Rect text { bar.left + padding, bar.top, text_right, bar.bottom - 1 };
    draw_text(canvas, bar_font(bar.height(), 700), title, text,
        TEXT_LEFT | TEXT_VCENTER | TEXT_SINGLELINE | TEXT_END_ELLIPSIS, BAR_TEXT_COLOR);
    if (layout.close.is_empty())
        return;
    Rect button = layout.close;
    if (pressed)
        canvas.fill_rect(
            { button.left, button.top, button.right, button.bottom - 1 }, BAR_PRESSED_COLOR);
    if (ok) {
        draw_text(canvas, bar_font(button.height(), 700), u"ok",
            { button.left, button.top, button.right, button.bottom - 1 },
            TEXT_CENTER | TEXT_VCENTER | TEXT_SINGLELINE, BAR_TEXT_COLOR);
        return;
    }
    Font cross = cached_font(u"DejaVu Sans", std::max(12, button.height() * 6 / 10), 400);
    draw_text(canvas, cross, u"\u00D7",
        { button.left, button.top, button.right, button.bottom - 1 },
        TEXT_CENTER | TEXT_VCENTER | TEXT_SINGLELINE, BAR_TEXT_COLOR);
}

void paint_bottom_bar(Canvas& canvas, const BarLayout& layout)
{
    Rect bar = layout.bottom;
    if (bar.is_empty())
        return;
    canvas.fill_rect(bar, BAR_COLOR);
    canvas.fill_rect({ bar.left, bar.top, bar.right, bar.top + 1 }, BAR_EDGE_COLOR);
}

} // namespace platform::detail
