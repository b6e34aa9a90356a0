#pragma once

namespace skinner {

// How a grid's selection follows keys and changes of its rows. The grid
// that owns a strategy hears of every change through its Owner.
class GridSelectionStrategy {
public:
    class Owner {
    public:
        virtual int row_count() const = 0;
        virtual void selection_changed(int row) = 0;
        virtual void make_row_visible(int row) = 0;
        virtual void highlight_changed() = 0;

    protected:
        ~Owner() = default;
    };

    virtual ~GridSelectionStrategy() = default;

    virtual bool is_cell_selected(int column, int row) const = 0;
    virtual bool is_cell_highlighted(int column, int row) const = 0;
    // -1, -1 clears the highlight.
    virtual void set_highlight(int column, int row) = 0;
    virtual void rows_inserted(int first, int count) = 0;
    virtual void rows_removed(int first, int count) = 0;
    // A key of the framework's codes; true when the strategy used it.
    virtual bool key_down(int key) = 0;
    // The selected row, -1 for none.
    virtual int selection() const = 0;
    virtual void set_selection(int row) = 0;
};

} // namespace skinner
