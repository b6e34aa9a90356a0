#include "platform/MenuBar.h"

#include "platform/graphics/Canvas.h"
#include "platform/graphics/TextRenderer.h"
#include "platform/graphics/VectorPainter.h"
#include "platform/screen/ShellStyle.h"

#include <cmath>

// The toolbar image strips, drawn rather than stored: each image is a
// rounded tile in the program's green (red for delete) with a white sign,
// at 16 or 32 pixels.
namespace platform {

namespace {

constexpr Color SIGN = make_color(0xFF, 0xFF, 0xFF);
constexpr int IMAGE_COUNT = 7;

enum class Sign { Refresh, Record, Play, Delete, Settings, Help, Exit };

void draw_sign(Bitmap& strip, int index, int size, Sign sign)
{
    double s = size;
    double x0 = index * s;
    Rect cell { index * size, 0, (index + 1) * size, size };
    double line = std::max(1.5, s * 0.1);
    {
        VectorPainter painter(strip, cell);
        Color tile = sign == Sign::Delete ? detail::DANGER_COLOR : detail::PRIMARY_COLOR;
        painter.fill_rounded_rect(x0 + 0.5, 0.5, s - 1, s - 1, s * 0.19, tile);
        auto at = [&](double fx, double fy) { return std::pair { x0 + fx * s, fy * s }; };
        switch (sign) {
        case Sign::Refresh: {
            auto [cx, cy] = at(0.5, 0.52);
            painter.stroke_arc(cx, cy, s * 0.24, -M_PI * 0.35, M_PI * 1.35, line, SIGN);
            // The arrow head at the arc's open end, pointing along it.
            auto [hx, hy] = at(0.70, 0.22);
            painter.move_to(hx - s * 0.16, hy + s * 0.02);
            painter.line_to(hx + s * 0.04, hy - s * 0.04);
            painter.line_to(hx + s * 0.02, hy + s * 0.17);
            painter.close_path();
            painter.fill(SIGN);
            break;
        }
        case Sign::Record: {
            auto [cx, cy] = at(0.5, 0.5);
            painter.fill_circle(cx, cy, s * 0.22, SIGN);
            break;
        }
        case Sign::Play: {
            auto [x, y] = at(0.38, 0.27);
            painter.move_to(x, y);
            painter.line_to(x, y + s * 0.46);
            painter.line_to(x + s * 0.38, y + s * 0.23);
            painter.close_path();
            painter.fill(SIGN);
            break;
        }
        case Sign::Delete: {
            auto [x, y] = at(0.32, 0.32);
            painter.move_to(x, y);
            painter.line_to(x + s * 0.36, y + s * 0.36);
            painter.move_to(x + s * 0.36, y);
            painter.line_to(x, y + s * 0.36);
            painter.stroke(line * 1.1, SIGN);
            break;
        }
        case Sign::Settings: {
            // Three sliders with their knobs.
            const double knobs[] = { 0.62, 0.38, 0.56 };
            for (int row = 0; row < 3; ++row) {
                auto [x, y] = at(0.26, 0.30 + row * 0.20);
                painter.move_to(x, y);
                painter.line_to(x + s * 0.48, y);
                painter.stroke(std::max(1.0, line * 0.7), SIGN);
                painter.fill_circle(x0 + knobs[row] * s, y, s * 0.085, SIGN);
            }
            break;
        }
        case Sign::Exit: {
            // The power sign: a ring open at the top and a bar through it.
            auto [cx, cy] = at(0.5, 0.54);
            painter.stroke_arc(cx, cy, s * 0.24, -M_PI * 0.28, M_PI * 1.28, line, SIGN);
            painter.move_to(cx, s * 0.2);
            painter.line_to(cx, s * 0.5);
            painter.stroke(line, SIGN);
            break;
        }
        case Sign::Help:
            break;
        }
    }
    if (sign == Sign::Help) {
        Canvas canvas(strip);
        canvas.set_clip(cell);
        Font font = detail::shell_font(std::max(10, size * 7 / 10), 700);
        draw_text(canvas, font, u"?", cell, TEXT_CENTER | TEXT_VCENTER | TEXT_SINGLELINE, SIGN);
    }
}

Bitmap draw_strip(int size)
{
    Bitmap strip(size * IMAGE_COUNT, size, make_color(0, 0, 0, 0));
    const Sign signs[IMAGE_COUNT] = { Sign::Refresh, Sign::Record, Sign::Play, Sign::Delete,
        Sign::Settings, Sign::Help, Sign::Exit };
    for (int index = 0; index < IMAGE_COUNT; ++index)
        draw_sign(strip, index, size, signs[index]);
    return strip;
}

} // namespace

std::optional<Bitmap> load_toolbar_bitmap(int resource_id)
{
    if (resource_id == TOOLBAR_STRIP_16)
        return draw_strip(16);
    if (resource_id == TOOLBAR_STRIP_32)
        return draw_strip(32);
    return std::nullopt;
}

} // namespace platform
