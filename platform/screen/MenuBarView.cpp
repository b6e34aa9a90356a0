#include "platform/screen/MenuBarView.h"

#include "platform/graphics/TextRenderer.h"
#include "platform/graphics/VectorPainter.h"
#include "platform/screen/SystemBars.h"

#include <algorithm>

namespace platform::detail {

namespace {

constexpr Color DISABLED_TEXT = make_color(0x7F, 0x8A, 0x96);

int text_padding(Rect area)
{
    return std::max(6, area.height() / 4);
}

} // namespace

std::vector<MenuBarSlot> menu_bar_slots(const MenuBarState& bar, Rect area)
{
    std::vector<MenuBarSlot> slots;
    if (bar.soft_keys) {
        int middle = area.left + area.width() / 2;
        for (std::size_t index = 0; index < bar.buttons.size() && index < 2; ++index) {
            Rect half = index == 0 ? Rect { area.left, area.top + 1, middle, area.bottom }
                                   : Rect { middle, area.top + 1, area.right, area.bottom };
            slots.push_back({ half, index });
        }
        return slots;
    }
    Font font = bar_font(area.height(), 400);
    int x = area.left + 2;
    int height = area.height() - 1;
    for (std::size_t index = 0; index < bar.buttons.size(); ++index) {
        const MenuBarButton& button = bar.buttons[index];
        int width = 0;
        if (button.separator)
            width = std::max(6, height / 4);
        else if (button.image >= 0 && button.image < bar.image_count)
            width = bar.image_size + std::max(8, height / 4);
        else
            width = measure_text(font, button.text).width + 2 * text_padding(area);
        if (button.drop_down && !button.separator)
            width += height / 3;
        slots.push_back({ { x, area.top + 1, x + width, area.bottom }, index });
        x += width;
    }
    return slots;
}

int menu_bar_button_at(const MenuBarState& bar, Rect area, Point point)
{
    for (const MenuBarSlot& slot : menu_bar_slots(bar, area)) {
        const MenuBarButton& button = bar.buttons[slot.button];
        if (slot.rect.contains(point) && !button.separator && button.enabled
            && (bar.soft_keys ? !button.text.empty() : true))
            return button.id;
    }
    return 0;
}

Rect menu_bar_button_rect(const MenuBarState& bar, Rect area, int id)
{
    for (const MenuBarSlot& slot : menu_bar_slots(bar, area)) {
        const MenuBarButton& button = bar.buttons[slot.button];
        if (!button.separator && button.id == id)
            return slot.rect;
    }
    return {};
}

void paint_menu_bar(Canvas& canvas, const MenuBarState& bar, Rect area)
{
    int height = area.height();
    Font font = bar_font(height, bar.soft_keys ? 700 : 400);
    std::vector<MenuBarSlot> slots = menu_bar_slots(bar, area);
    if (bar.soft_keys && slots.size() == 2) {
        int middle = slots[1].rect.left;
        int inset = height / 4;
        canvas.fill_rect(
            { middle, area.top + inset, middle + 1, area.bottom - inset }, BAR_EDGE_COLOR);
    }
    for (const MenuBarSlot& slot : slots) {
        const MenuBarButton& button = bar.buttons[slot.button];
        Rect rect = slot.rect;
        if (button.separator) {
            int x = rect.left + rect.width() / 2;
            canvas.fill_rect(
                { x, area.top + height / 4, x + 1, area.bottom - height / 4 }, BAR_EDGE_COLOR);
            continue;
        }
        if (bar.pressed_id != 0 && button.id == bar.pressed_id && button.enabled) {
            VectorPainter painter(canvas.target(), rect.intersected(canvas.clip()));
            double inset = std::max(2, height / 10);
            painter.fill_rounded_rect(rect.left + inset, rect.top + inset, rect.width() - 2 * inset,
                rect.height() - 2 * inset, inset * 1.5, BAR_PRESSED_COLOR);
        }
        Color text = button.enabled ? BAR_TEXT_COLOR : DISABLED_TEXT;
        // Soft keys open their popups without a mark; a command bar marks
        // its drop-down buttons.
        int arrow = button.drop_down && !bar.soft_keys ? height / 3 : 0;
        Rect content { rect.left, rect.top, rect.right - arrow, rect.bottom };
        if (!bar.soft_keys && button.image >= 0 && button.image < bar.image_count) {
            int size = bar.image_size;
            int x = content.left + (content.width() - size) / 2;
            int y = content.top + (content.height() - size) / 2;
            int left = button.image * size;
            PictureAxis x_axis { left, left, left + size, left + size };
            PictureAxis y_axis { 0, 0, size, size };
            if (button.enabled) {
                canvas.draw_picture(
                    bar.strip, &bar.strip_mask, { x, y, x + size, y + size }, x_axis, y_axis);
            } else {
                // A disabled image shows faint: its mask at a third.
                Mask faint = bar.strip_mask;
                for (int my = 0; my < faint.height(); ++my)
                    for (int mx = 0; mx < faint.width(); ++mx)
                        faint.set_value(mx, my, static_cast<std::uint8_t>(faint.value(mx, my) / 3));
                canvas.draw_picture(
                    bar.strip, &faint, { x, y, x + size, y + size }, x_axis, y_axis);
            }
        } else {
            unsigned format = TEXT_VCENTER | TEXT_SINGLELINE | TEXT_END_ELLIPSIS;
            Rect label = content;
            int padding = text_padding(area);
            label.left += padding / (bar.soft_keys ? 1 : 2);
            label.right -= padding / (bar.soft_keys ? 1 : 2);
            format |= TEXT_CENTER;
            draw_text(canvas, font, button.text, label, format, text);
        }
        if (arrow > 0) {
            VectorPainter painter(canvas.target(), rect.intersected(canvas.clip()));
            double cx = rect.right - arrow * 0.6;
            double cy = rect.top + rect.height() / 2.0;
            double w = std::max(3.0, arrow * 0.28);
            painter.move_to(cx - w, cy - w / 2);
            painter.line_to(cx + w, cy - w / 2);
            painter.line_to(cx, cy + w / 2);
            painter.close_path();
            painter.fill(text);
        }
    }
}

} // namespace platform::detail
