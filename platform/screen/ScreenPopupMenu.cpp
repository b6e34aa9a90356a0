#include "platform/screen/ScreenPopupMenu.h"

#include "platform/Convert.h"
#include "platform/Screen.h"
#include "platform/graphics/TextRenderer.h"
#include "platform/graphics/VectorPainter.h"
#include "platform/screen/ShellStyle.h"

#include <algorithm>

namespace platform::detail {

namespace {

Font item_font(int item_height)
{
    return shell_font(std::max(11, item_height * 9 / 20), 400);
}

} // namespace

ScreenPopupMenu::ScreenPopupMenu(WindowHandle owner, Size screen, int bar_height)
    : owner_(owner)
    , screen_(screen)
    , item_height_(std::max(20, bar_height * 17 / 20))
    , separator_height_(std::max(7, item_height_ / 3))
    , padding_(std::max(6, item_height_ / 3))
    , scale_(bar_height >= 52 ? 2 : 1)
{
}

bool ScreenPopupMenu::shows(MenuHandle menu) const
{
    return std::any_of(
        levels_.begin(), levels_.end(), [&](const Level& level) { return level.menu == menu; });
}

Size ScreenPopupMenu::measure(const Level& level) const
{
    Font font = item_font(item_height_);
    int text = 0;
    int height = 2 * scale_ + 2 * scale_;
    for (const MenuItem& item : level.items) {
        if (item.separator) {
            height += separator_height_;
            continue;
        }
        text = std::max(text, measure_text(font, item.text).width);
        height += item_height_;
    }
    // A gutter for the check mark at the left, room for the sub-menu arrow
    // at the right.
    int width = item_height_ + text + padding_ + item_height_ * 2 / 3;
    return { std::min(width, screen_.width - 4), std::min(height, screen_.height - 4) };
}

void ScreenPopupMenu::lay_out(Level& level, Point origin)
{
    Size size = measure(level);
    level.rect = { origin.x, origin.y, origin.x + size.width, origin.y + size.height };
    level.rects.clear();
    int y = origin.y + 2 * scale_;
    for (const MenuItem& item : level.items) {
        int height = item.separator ? separator_height_ : item_height_;
        level.rects.push_back({ origin.x + scale_, y, level.rect.right - scale_, y + height });
        y += height;
    }
}

bool ScreenPopupMenu::place(Level& level, Point point, PopupAnchor anchor)
{
    if (level.items.empty())
        return false;
    Size size = measure(level);
    Point origin = point;
    if (anchor == PopupAnchor::BottomLeft || anchor == PopupAnchor::BottomRight)
        origin.y = point.y - size.height;
    if (anchor == PopupAnchor::BottomRight)
        origin.x = point.x - size.width;
    origin.x = std::clamp(origin.x, 2, std::max(2, screen_.width - size.width - 2));
    origin.y = std::clamp(origin.y, 2, std::max(2, screen_.height - size.height - 2));
    lay_out(level, origin);
    return true;
}

bool ScreenPopupMenu::open(MenuHandle menu, Point point, PopupAnchor anchor)
{
    Level level;
    level.menu = menu;
    level.items = menu_items(menu);
    if (!place(level, point, anchor))
        return false;
    levels_.clear();
    levels_.push_back(std::move(level));
    return true;
}

bool ScreenPopupMenu::open_beside(MenuHandle menu, Rect item, bool select_first)
{
    if (levels_.empty())
        return false;
    Level level;
    level.menu = menu;
    level.items = menu_items(menu);
    if (level.items.empty())
        return false;
    Size size = measure(level);
    // To the right of the item, or to its left when the screen ends first.
    Point origin { item.right - scale_, item.top - 2 * scale_ };
    if (origin.x + size.width > screen_.width - 2)
        origin.x = std::max(2, item.left - size.width + scale_);
    origin.y = std::clamp(origin.y, 2, std::max(2, screen_.height - size.height - 2));
    lay_out(level, origin);
    if (select_first)
        move_selection(level, 1);
    levels_.push_back(std::move(level));
    return true;
}

void ScreenPopupMenu::close_from(int level)
{
    if (level < 0 || level >= depth())
        return;
    levels_.resize(static_cast<std::size_t>(level));
    if (!levels_.empty())
        levels_.back().opened = -1;
}

int ScreenPopupMenu::level_at(Point point) const
{
    for (int index = depth() - 1; index >= 0; --index) {
        if (levels_[static_cast<std::size_t>(index)].rect.contains(point))
            return index;
    }
    return -1;
}

int ScreenPopupMenu::item_at(const Level& level, Point point) const
{
    for (std::size_t index = 0; index < level.rects.size(); ++index) {
        if (level.rects[index].contains(point))
            return static_cast<int>(index);
    }
    return -1;
}

ScreenPopupMenu::Outcome ScreenPopupMenu::activate(int level_index, int item, bool by_key)
{
    Level& level = levels_[static_cast<std::size_t>(level_index)];
    if (item < 0 || !selectable(level.items[static_cast<std::size_t>(item)]))
        return {};
    const MenuItem& chosen = level.items[static_cast<std::size_t>(item)];
    if (chosen.sub_menu) {
        if (level.opened == item && level_index + 1 < depth())
            return {};
        close_from(level_index + 1);
        level.opened = item;
        Outcome outcome = Outcome::of(Outcome::Kind::OpenSubMenu);
        outcome.sub_menu = chosen.sub_menu;
        outcome.item = level.rects[static_cast<std::size_t>(item)];
        outcome.by_key = by_key;
        return outcome;
    }
    return Outcome::of(Outcome::Kind::Choose, chosen.id);
}

ScreenPopupMenu::Outcome ScreenPopupMenu::pointer(PointerAction action, Point point)
{
    int level_index = level_at(point);
    if (level_index < 0) {
        if (action == PointerAction::Down)
            return Outcome::of(Outcome::Kind::Close);
        return {};
    }
    Level& level = levels_[static_cast<std::size_t>(level_index)];
    int item = item_at(level, point);
    bool usable = item >= 0 && selectable(level.items[static_cast<std::size_t>(item)]);
    level.selected = usable ? item : -1;
    if (!usable)
        return {};
    bool has_sub = static_cast<bool>(level.items[static_cast<std::size_t>(item)].sub_menu);
    // Pointing at another item of a parent column closes what lies above it.
    if (level.opened != item && level_index + 1 < depth())
        close_from(level_index + 1);
    // A sub-menu opens as soon as the pointer is on its item.
    if (action == PointerAction::Up || has_sub)
        return activate(level_index, item, false);
    return {};
}

void ScreenPopupMenu::move_selection(Level& level, int step)
{
    int count = static_cast<int>(level.items.size());
    int at = level.selected;
    for (int tries = 0; tries < count; ++tries) {
        at = at < 0 ? (step > 0 ? 0 : count - 1) : (at + step + count) % count;
        if (selectable(level.items[static_cast<std::size_t>(at)])) {
            level.selected = at;
            return;
        }
    }
}

ScreenPopupMenu::Outcome ScreenPopupMenu::key(int virtual_key)
{
    if (levels_.empty())
        return Outcome::of(Outcome::Kind::Close);
    int top = depth() - 1;
    Level& level = levels_.back();
    switch (virtual_key) {
    case VK_DOWN:
        move_selection(level, 1);
        return {};
    case VK_UP:
        move_selection(level, -1);
        return {};
    case VK_RIGHT:
        if (level.selected >= 0 && level.items[static_cast<std::size_t>(level.selected)].sub_menu)
            return activate(top, level.selected, true);
        return {};
    case VK_LEFT:
        if (top > 0)
            close_from(top);
        return {};
    case VK_RETURN:
        return activate(top, level.selected, true);
    case VK_ESCAPE:
        if (top > 0) {
            close_from(top);
            return {};
        }
        return Outcome::of(Outcome::Kind::Close);
    default:
        return {};
    }
}

Rect ScreenPopupMenu::item_rect(int level, int index) const
{
    if (level < 0 || level >= depth())
        return {};
    const Level& column = levels_[static_cast<std::size_t>(level)];
    if (index < 0 || index >= static_cast<int>(column.rects.size()))
        return {};
    return column.rects[static_cast<std::size_t>(index)];
}

int ScreenPopupMenu::selected(int level) const
{
    return level >= 0 && level < depth() ? levels_[static_cast<std::size_t>(level)].selected : -1;
}

std::string ScreenPopupMenu::describe() const
{
    std::string text;
    for (std::size_t level = 0; level < levels_.size(); ++level) {
        const Level& column = levels_[level];
        for (std::size_t index = 0; index < column.items.size(); ++index) {
            const MenuItem& item = column.items[index];
            if (item.separator)
                continue;
            const Rect& r = column.rects[index];
            text += "popup " + std::to_string(level) + " " + to_utf8(item.text) + " enabled="
                + (item.enabled ? "1" : "0") + " checked=" + (item.checked ? "1" : "0") + " "
                + std::to_string(r.left) + " " + std::to_string(r.top) + " "
                + std::to_string(r.right) + " " + std::to_string(r.bottom) + "\n";
        }
    }
    return text;
}

void ScreenPopupMenu::paint(Canvas& canvas) const
{
    Font font = item_font(item_height_);
    double s = scale_;
    for (const Level& level : levels_) {
        Rect r = level.rect;
        {
            VectorPainter painter(canvas.target(), r.intersected(canvas.clip()));
            painter.fill_rounded_rect(r.left, r.top, r.width(), r.height(), 6 * s, SURFACE_COLOR);
            painter.stroke_rounded_rect(r.left + s / 2, r.top + s / 2, r.width() - s,
                r.height() - s, 6 * s - s / 2, s, BORDER_COLOR);
        }
        for (std::size_t index = 0; index < level.items.size(); ++index) {
            const MenuItem& item = level.items[index];
            Rect box = level.rects[index];
            if (item.separator) {
                int y = box.top + box.height() / 2;
                canvas.fill_rect(
                    { box.left + padding_, y, box.right - padding_, y + scale_ }, BORDER_COLOR);
                continue;
            }
            bool highlighted = static_cast<int>(index) == level.selected
                || static_cast<int>(index) == level.opened;
            VectorPainter painter(canvas.target(), box.intersected(canvas.clip()));
            if (highlighted && item.enabled)
                painter.fill_rounded_rect(box.left + 2 * s, box.top + s, box.width() - 4 * s,
                    box.height() - 2 * s, 4 * s, SELECTION_COLOR);
            Color text = item.enabled ? TEXT_COLOR : DISABLED_COLOR;
            double h = item_height_;
            if (item.checked) {
                double x = box.left + h * 0.28;
                double y = box.top + h * 0.5;
                painter.move_to(x, y);
                painter.line_to(x + h * 0.14, y + h * 0.14);
                painter.line_to(x + h * 0.40, y - h * 0.16);
                painter.stroke(
                    std::max(1.5, h * 0.09), item.enabled ? PRIMARY_COLOR : DISABLED_COLOR);
            }
            if (item.sub_menu) {
                double x = box.right - h * 0.42;
                double y = box.top + h * 0.5;
                painter.move_to(x - h * 0.07, y - h * 0.14);
                painter.line_to(x + h * 0.07, y);
                painter.line_to(x - h * 0.07, y + h * 0.14);
                painter.stroke(
                    std::max(1.5, h * 0.07), item.enabled ? SECONDARY_TEXT_COLOR : DISABLED_COLOR);
            }
            Rect label { box.left + item_height_, box.top, box.right - item_height_ * 2 / 3,
                box.bottom };
            draw_text(canvas, font, item.text, label,
                TEXT_LEFT | TEXT_VCENTER | TEXT_SINGLELINE | TEXT_END_ELLIPSIS, text);
        }
    }
}

} // namespace platform::detail
