#include "skinner/ControlGrid.h"
#include "skinner/ControlScrollBar.h"

#include "os/Assertion.h"
#include "platform/Convert.h"
#include "platform/graphics/TextRenderer.h"
#include "skinner/Container.h"
#include "skinner/DumpText.h"
#include "skinner/FontRep.h"
#include "skinner/Form.h"
#include "skinner/GridColumns.h"
#include "skinner/GridSelectionStrategySingleRow.h"
#include "skinner/KeyCodes.h"

#include <algorithm>

namespace skinner {

namespace {

// How far a press may move before it scrolls the rows instead of tapping.
constexpr int DRAG_DISTANCE = 8;

} // namespace

ControlGrid::ControlGrid(Container& container, const std::u16string& id)
    : Control(container, id)
    , properties_(properties())
    , strategy_(std::make_unique<GridSelectionStrategySingleRow>(*this))
{
    read_properties();
    painter_ = std::make_unique<Painter>(*this);
    make_scroll_bar();
}

ControlGrid::~ControlGrid()
{
    bar_.reset();
    painter_.reset();
}

void ControlGrid::make_scroll_bar()
{
    bar_.reset();
    if (bar_kind_.empty() || bar_width_ <= 0)
        return;
    bar_ = std::make_unique<ControlScrollBar>(container(), u"", ControlKind::TopLevel, bar_kind_);
    bar_->set_z_order(z_order() + 1);
    bar_->set_placement([this] { return bar_rect(); });
    bar_->set_position_observer([this](int position) {
        if (!syncing_bar_)
            scroll_to(position);
    });
    bar_->laid_out();
    // The rows are the derived grid's to give; its first refresh fills the
    // bar. A bar made again on a skin reload catches up there as well.
}

platform::Rect ControlGrid::bar_rect() const
{
    platform::Rect r = rect();
    int right = r.right - border_max_.x;
    return { std::max(r.left, right - bar_width_), r.top + border_min_.y, right,
        r.bottom - border_max_.y };
}

void ControlGrid::sync_scroll_bar()
{
    if (!bar_)
        return;
    syncing_bar_ = true;
    bar_->set_range(0, std::max(0, row_count()));
    bar_->set_page(page_rows());
    bar_->set_position(first_row_);
    syncing_bar_ = false;
}

void ControlGrid::read_properties()
{
    Control::read_properties();
    properties_ = properties();
    row_height_ = properties_.scaled_integer(u"ItemHeight", 40);
    Point min = properties_.point(u"BorderMin", {});
    Point max = properties_.point(u"BorderMax", min);
    border_min_ = { min.x, min.y };
    border_max_ = { max.x, max.y };
    normal_ = properties_.look(u"ItemNormal", nullptr);
    selection_look_ = properties_.look(u"ItemSelection", &normal_);
    highlight_ = properties_.look(u"ItemHighlight", &normal_);
    selection_highlight_ = properties_.look(u"ItemSelectionHighlight", &selection_look_);
    header_ = properties_.look(u"HeaderNormal", &normal_);
    background_ = properties_.picture(u"Normal", Picture());
    background_highlighted_ = properties_.picture(u"Highlighted", background_);
    background_disabled_ = properties_.picture(u"Disabled", background_);
    std::u16string kind = properties_.string(u"KindScroll", {});
    int width = properties_.scaled_integer(u"ScrollWidth", 0);
    if (painter_ && (kind != bar_kind_ || width != bar_width_)) {
        bar_kind_ = kind;
        bar_width_ = width;
        make_scroll_bar();
    }
    bar_kind_ = kind;
    bar_width_ = width;
}

void ControlGrid::set_strategy(std::unique_ptr<GridSelectionStrategy> strategy)
{
    strategy_
        = strategy ? std::move(strategy) : std::make_unique<GridSelectionStrategySingleRow>(*this);
    repaint();
}

void ControlGrid::set_header_height(int height)
{
    header_height_ = std::max(0, height);
    refresh();
}

platform::Rect ControlGrid::content_rect() const
{
    platform::Rect r = rect();
    platform::Rect content { r.left + border_min_.x, r.top + border_min_.y, r.right - border_max_.x,
        r.bottom - border_max_.y };
    if (bar_)
        content.right -= bar_width_;
    content.right = std::max(content.left, content.right);
    return content;
}

int ControlGrid::page_rows() const
{
    int height = content_rect().height() - header_height();
    int row = row_height();
    return row > 0 ? std::max(0, height / row) : 0;
}

void ControlGrid::refresh()
{
    std::vector<int> widths;
    int columns = std::max(0, column_count());
    widths.reserve(static_cast<std::size_t>(columns));
    for (int column = 0; column < columns; ++column)
        widths.push_back(column_width(column));
    boundaries_ = skinner::column_boundaries(widths, std::max(0, content_rect().width()));
    clamp_scroll();
    repaint();
}

void ControlGrid::laid_out()
{
    refresh();
}

void ControlGrid::set_rect(platform::Point position, platform::Size size)
{
    Control::set_rect(position, size);
    if (painter_)
        painter_->set_rect(position, size);
    if (bar_)
        bar_->laid_out();
}

void ControlGrid::clamp_scroll()
{
    int last_first = std::max(0, row_count() - std::max(1, page_rows()));
    first_row_ = std::clamp(first_row_, 0, last_first);
    int content = boundaries_.back();
    scroll_offset_ = std::clamp(scroll_offset_, 0, std::max(0, content - content_rect().width()));
    sync_scroll_bar();
}

void ControlGrid::scroll_to(int row)
{
    int before = first_row_;
    first_row_ = row;
    clamp_scroll();
    if (first_row_ != before) {
        repaint();
        on_items_scrolled(*this, first_row_);
    }
}

bool ControlGrid::wheel(int delta)
{
    int rows = -delta * WHEEL_ROWS / platform::WHEEL_DELTA;
    if (rows == 0)
        return false;
    scroll_to(first_row_ + rows);
    return true;
}

void ControlGrid::set_scroll_offset(int offset)
{
    int before = scroll_offset_;
    scroll_offset_ = offset;
    clamp_scroll();
    if (scroll_offset_ != before)
        repaint();
}

void ControlGrid::rows_inserted(int first, int count)
{
    strategy_->rows_inserted(first, count);
    refresh();
}

void ControlGrid::rows_removed(int first, int count)
{
    int before = strategy_->selection();
    strategy_->rows_removed(first, count);
    refresh();
    if (strategy_->selection() != before && strategy_->selection() < 0)
        on_selection_changed(*this, -1);
}

void ControlGrid::selection_changed(int row)
{
    repaint();
    on_selection_changed(*this, row);
}

void ControlGrid::make_row_visible(int row)
{
    // The least scrolling that shows the whole row.
    int page = std::max(1, page_rows());
    if (row < first_row_)
        scroll_to(row);
    else if (row >= first_row_ + page)
        scroll_to(row - page + 1);
}

int ControlGrid::row_at(platform::Point point) const
{
    platform::Rect content = content_rect();
    int top = content.top + header_height();
    if (!content.contains(point) || point.y < top || row_height() <= 0)
        return -1;
    int row = first_row_ + (point.y - top) / row_height();
    return row < row_count() ? row : -1;
}

const StateLook& ControlGrid::cell_look(bool selected, bool highlighted) const
{
    if (selected && highlighted)
        return selection_highlight_;
    if (selected)
        return selection_look_;
    if (highlighted)
        return highlight_;
    return normal_;
}

void ControlGrid::paint_header_cell(int column, platform::Canvas& canvas, platform::Rect rect)
{
    header_.picture.draw(canvas, rect);
    draw_text(canvas, header_.font, header_text(column), rect,
        platform::TEXT_LEFT | platform::TEXT_VCENTER | platform::TEXT_SINGLELINE
            | platform::TEXT_END_ELLIPSIS,
        header_.color);
}

void ControlGrid::paint_cell(int column, int row, platform::Canvas& canvas, platform::Rect rect,
    bool selected, bool highlighted)
{
    const StateLook& look = cell_look(selected, highlighted);
    look.picture.draw(canvas, rect);
    draw_text(canvas, look.font, cell_text(column, row), rect,
        platform::TEXT_LEFT | platform::TEXT_VCENTER | platform::TEXT_SINGLELINE
            | platform::TEXT_END_ELLIPSIS,
        look.color);
}

void ControlGrid::paint(platform::Canvas& canvas)
{
    const Picture& background = !is_enabled() ? background_disabled_
        : form() && form()->capture() == this ? background_highlighted_
                                              : background_;
    background.draw(canvas, rect());
    Control::paint(canvas);
}

ControlGrid::Painter::Painter(ControlGrid& grid)
    : Control(grid.container(), {}, ControlKind::NoSkin)
    , grid_(grid)
{
    set_z_order(grid.z_order());
    set_focusable(false);
    laid_out();
}

void ControlGrid::Painter::laid_out()
{
    set_rect(grid_.position(), grid_.size());
}

void ControlGrid::Painter::paint(platform::Canvas& canvas)
{
    if (!grid_.is_visible())
        return;
    platform::Rect saved = canvas.clip();
    platform::Rect content = grid_.content_rect();
    canvas.intersect_clip(content);
    const int rows = grid_.row_count();
    const int columns = grid_.column_count();
    const int header = grid_.header_height();
    const int height = grid_.row_height();
    const auto& bounds = grid_.boundaries_;
    if (static_cast<int>(bounds.size()) != columns + 1)
        report_assertion(u"ControlGrid::Painter::paint",
            u"Number of items in grid " + grid_.id() + u" had changed, but no refresh was called");
    const int left = content.left - grid_.scroll_offset_;
    if (header > 0) {
        for (int i = 0; i < columns; ++i)
            grid_.paint_header_cell(i, canvas,
                { left + bounds[i], content.top, left + bounds[i + 1], content.top + header });
    }
    platform::Rect visible = canvas.local_clip();
    for (int row = grid_.first_row_, n = 0; row < rows && height > 0; ++row, ++n) {
        int top = content.top + header + n * height;
        if (top >= content.bottom || top >= visible.bottom)
            break;
        if (top + height <= visible.top)
            continue;
        for (int j = 0; j < columns; ++j) {
            platform::Rect cell { left + bounds[j], top, left + bounds[j + 1], top + height };
            if (cell.intersected(visible).is_empty())
                continue;
            bool selected = grid_.strategy_->is_cell_selected(j, row);
            bool highlighted = grid_.strategy_->is_cell_highlighted(j, row);
            platform::Rect cell_clip = canvas.clip();
            canvas.intersect_clip(cell);
            grid_.paint_cell(j, row, canvas, cell, selected, highlighted);
            canvas.set_clip(cell_clip);
        }
    }
    canvas.set_clip(saved);
}

bool ControlGrid::key_down(int key)
{
    int row = strategy_->selection();
    if (key == KEY_RETURN) {
        if (row < 0)
            return false;
        on_item_activated(*this, row);
        return true;
    }
    if (key == KEY_APPS) {
        if (row < 0)
            return false;
        platform::Rect content = content_rect();
        on_item_hold(*this, row,
            { content.left, content.top + header_height() + (row - first_row_) * row_height() });
        return true;
    }
    if (!strategy_->key_down(key))
        return false;
    if (strategy_->selection() >= 0)
        make_row_visible(strategy_->selection());
    repaint();
    return true;
}

void ControlGrid::pointer_down(PointerButton button, platform::Point point, bool)
{
    if (button == PointerButton::Right) {
        int row = row_at(point);
        if (row >= 0) {
            strategy_->set_selection(row);
            on_item_hold(*this, row, point);
        }
        return;
    }
    if (button != PointerButton::Left)
        return;
    pressed_ = true;
    dragging_ = false;
    press_point_ = point;
    press_first_row_ = first_row_;
}

void ControlGrid::pointer_move(platform::Point point)
{
    if (!pressed_)
        return;
    int dy = press_point_.y - point.y;
    if (!dragging_ && std::abs(dy) < DRAG_DISTANCE
        && std::abs(press_point_.x - point.x) < DRAG_DISTANCE)
        return;
    dragging_ = true;
    if (row_height() > 0)
        scroll_to(press_first_row_ + dy / row_height());
}

void ControlGrid::pointer_up(PointerButton button, platform::Point point)
{
    if (button != PointerButton::Left || !pressed_)
        return;
    pressed_ = false;
    if (dragging_)
        return;
    int row = row_at(point);
    if (row < 0)
        return;
    if (row == strategy_->selection())
        on_item_activated(*this, row);
    else
        strategy_->set_selection(row);
}

std::string ControlGrid::describe() const
{
    int selected = strategy_->selection();
    std::string text = "rows=" + std::to_string(row_count())
        + " first=" + std::to_string(first_row_) + " selected=" + std::to_string(selected);
    if (selected >= 0 && selected < row_count()) {
        text += " selected_text=";
        for (int column = 0; column < column_count(); ++column) {
            if (column > 0)
                text += '\t';
            text += dump_text(cell_text(column, selected));
        }
    }
    return text;
}

} // namespace skinner
