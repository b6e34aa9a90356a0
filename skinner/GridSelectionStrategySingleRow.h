#pragma once

#include "skinner/GridSelectionStrategy.h"

namespace skinner {

// One selected row (-1 for none); every cell of it is selected. Up and Page
// Up go to the previous row, Down and Page Down to the next (from none to
// row 0), Home and End to the first and the last; at either end the key is
// not used, so the container can move the focus.
class GridSelectionStrategySingleRow : public GridSelectionStrategy {
public:
    explicit GridSelectionStrategySingleRow(Owner& owner)
        : owner_(owner)
    {
    }

    bool is_cell_selected(int column, int row) const override;
    bool is_cell_highlighted(int, int) const override { return false; }
    void set_highlight(int, int) override { }
    void rows_inserted(int first, int count) override;
    void rows_removed(int first, int count) override;
    bool key_down(int key) override;
    int selection() const override { return selection_; }
    // A new value tells the owner, and a valid row is scrolled into view.
    void set_selection(int row) override;

protected:
    // Called when a key changed the selection.
    virtual void key_used() { }
    Owner& owner() const { return owner_; }

private:
    Owner& owner_;
    int selection_ { -1 };
};

// The single-row selection with one highlighted cell (-1, -1 for none),
// which a used key clears.
class GridSelectionStrategyWithHighlight : public GridSelectionStrategySingleRow {
public:
    using GridSelectionStrategySingleRow::GridSelectionStrategySingleRow;

    bool is_cell_highlighted(int column, int row) const override;
    void set_highlight(int column, int row) override;
    int highlight_column() const { return column_; }
    int highlight_row() const { return row_; }

protected:
    void key_used() override { set_highlight(-1, -1); }

private:
    int column_ { -1 };
    int row_ { -1 };
};

} // namespace skinner
