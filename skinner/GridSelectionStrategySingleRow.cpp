#include "skinner/GridSelectionStrategySingleRow.h"

#include "skinner/KeyCodes.h"

namespace skinner {

bool GridSelectionStrategySingleRow::is_cell_selected(int, int row) const
{
    return selection_ >= 0 && row == selection_;
}

void GridSelectionStrategySingleRow::set_selection(int row)
{
    if (row == selection_)
        return;
    selection_ = row;
    owner_.selection_changed(row);
    if (row >= 0 && row < owner_.row_count())
        owner_.make_row_visible(row);
}

void GridSelectionStrategySingleRow::rows_inserted(int first, int count)
{
    if (count > 0 && selection_ > first)
        selection_ += count;
}

void GridSelectionStrategySingleRow::rows_removed(int first, int count)
{
    if (count <= 0 || selection_ < first)
        return;
    if (selection_ >= first + count)
        selection_ -= count;
    else
        selection_ = -1;
}

bool GridSelectionStrategySingleRow::key_down(int key)
{
    const int rows = owner_.row_count();
    if (rows <= 0)
        return false;
    int target = selection_;
    switch (key) {
    case KEY_UP:
    case KEY_PAGE_UP:
        if (selection_ == 0)
            return false;
        target = selection_ < 0 ? 0 : selection_ - 1;
        break;
    case KEY_DOWN:
    case KEY_PAGE_DOWN:
        if (selection_ >= rows - 1)
            return false;
        target = selection_ < 0 ? 0 : selection_ + 1;
        break;
    case KEY_HOME:
        target = 0;
        break;
    case KEY_END:
        target = rows - 1;
        break;
    default:
        return false;
    }
    key_used();
    set_selection(target);
    return true;
}

bool GridSelectionStrategyWithHighlight::is_cell_highlighted(int column, int row) const
{
    return row_ >= 0 && row == row_ && column == column_;
}

void GridSelectionStrategyWithHighlight::set_highlight(int column, int row)
{
    if (column == column_ && row == row_)
        return;
    column_ = column;
    row_ = row;
    owner().highlight_changed();
}

} // namespace skinner
