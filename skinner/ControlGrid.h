#pragma once

#include "skinner/Control.h"
#include "skinner/ElementProperties.h"
#include "skinner/GridSelectionStrategy.h"

#include <memory>
#include <string>
#include <vector>

namespace skinner {

// A table of rows and columns that the application supplies by deriving
// from the grid and answering its model: an optional header row, a
// selection kept by a pluggable strategy (one row by default), and cells
// painted from the skin's item looks. Only the visible rows are ever asked
// for or painted, so a grid of ten thousand rows is as quick as one of ten.
//
// Touch and keys: a tap selects a row, a tap on the selected row (or Return)
// activates it (the item-activated event), a hold or the applications key
// asks for the row's menu (the item-hold event), dragging scrolls the rows;
// Up, Down, Page Up, Page Down, Home and End go to the strategy, and a key
// it does not use is left to the container, which moves the focus.
//
// With "KindScroll" naming the skin's scroll-bar node, a vertical scroll bar
// "ScrollWidth" wide lies along the grid's right edge (inside "BorderMax"):
// its range is the number of rows, its page the whole rows below the
// header, and its position the first visible row, both ways.
//
// The application calls refresh() after every change of the number of rows
// or columns (painting without one is a fatal report), and reports inserted
// and removed rows so that the selection follows the data.
class ControlScrollBar;

class ControlGrid : public Control, public GridSelectionStrategy::Owner {
public:
    ControlGrid(Container& container, const std::u16string& id);
    ~ControlGrid() override;

    // The model.
    int row_count() const override = 0;
    virtual int column_count() const = 0;
    // A width of 0 or more is fixed, a negative one a share of what is left.
    virtual int column_width(int column) const = 0;
    virtual std::u16string cell_text(int column, int row) const = 0;
    virtual std::u16string header_text(int) const { return {}; }
    virtual int header_height() const { return header_height_; }
    virtual int row_height() const { return row_height_; }
    // The header draws its look and text; a cell its look's picture and its
    // text in the look's font and colour, left-aligned in the cell's insets.
    virtual void paint_header_cell(int column, platform::Canvas& canvas, platform::Rect rect);
    virtual void paint_cell(int column, int row, platform::Canvas& canvas, platform::Rect rect,
        bool selected, bool highlighted);
    virtual const StateLook& cell_look(bool selected, bool highlighted) const;

    // Recomputes the column boundaries and the scrolling, and repaints.
    void refresh();
    void rows_inserted(int first, int count);
    void rows_removed(int first, int count);

    // The strategy; the grid owns it. nullptr restores the single-row one.
    void set_strategy(std::unique_ptr<GridSelectionStrategy> strategy);
    GridSelectionStrategy& strategy() const { return *strategy_; }
    int selection() const { return strategy_->selection(); }
    void set_selection(int row) { strategy_->set_selection(row); }

    void set_header_height(int height);
    int first_visible_row() const { return first_row_; }
    // Scrolls so that `row` is the first shown, kept within the rows.
    void scroll_to(int row);
    // Whole rows that fit below the header.
    int page_rows() const;
    const std::vector<int>& column_boundaries() const { return boundaries_; }
    int scroll_offset() const { return scroll_offset_; }
    void set_scroll_offset(int offset);
    // The grid's own scroll bar; nullptr without "KindScroll".
    ControlScrollBar* scroll_bar() const { return bar_.get(); }
    // Where the cells lie: the rectangle less the insets and the bar.
    platform::Rect content_rect() const;
    // The row under a point of the container; -1 for none.
    int row_at(platform::Point point) const;

    // Control.
    void paint(platform::Canvas& canvas) override;
    bool key_down(int key) override;
    // WHEEL_ROWS rows a notch; the selection stays.
    bool wheel(int delta) override;
    static constexpr int WHEEL_ROWS = 3;
    void pointer_down(PointerButton button, platform::Point point, bool double_click) override;
    void pointer_move(platform::Point point) override;
    void pointer_up(PointerButton button, platform::Point point) override;
    void set_rect(platform::Point position, platform::Size size) override;
    void read_properties() override;
    void laid_out() override;
    std::string describe() const override;
    const char* class_name() const override { return "ControlGrid"; }

    // The strategy's notifications.
    void selection_changed(int row) override;
    void make_row_visible(int row) override;
    void highlight_changed() override { repaint(); }

    // Paints the cells; a control of its own that shares the grid's rectangle
    // and lets the pointer through to the grid.
    class Painter final : public Control {
    public:
        explicit Painter(ControlGrid& grid);
        void paint(platform::Canvas& canvas) override;
        bool hit_test(platform::Point) const override { return false; }
        bool is_focusable() const override { return false; }
        // Whatever the container made of its own design rectangle, the
        // painter lies where the grid lies.
        void laid_out() override;
        const char* class_name() const override { return "ControlGrid::Painter"; }

    private:
        ControlGrid& grid_;
    };

protected:
    const ElementProperties& grid_properties() const { return properties_; }

private:
    void clamp_scroll();
    void make_scroll_bar();
    platform::Rect bar_rect() const;
    // Gives the bar the rows, the page and the first visible row.
    void sync_scroll_bar();

    ElementProperties properties_;
    int row_height_ { 40 };
    int header_height_ { 0 };
    std::vector<int> boundaries_ { 0 };
    int first_row_ { 0 };
    int scroll_offset_ { 0 };
    platform::Point border_min_;
    platform::Point border_max_;
    StateLook normal_;
    StateLook selection_look_;
    StateLook highlight_;
    StateLook selection_highlight_;
    StateLook header_;
    Picture background_;
    Picture background_highlighted_;
    Picture background_disabled_;
    std::unique_ptr<GridSelectionStrategy> strategy_;
    std::unique_ptr<Painter> painter_;
    std::u16string bar_kind_;
    int bar_width_ { 0 };
    std::unique_ptr<ControlScrollBar> bar_;
    bool syncing_bar_ { false };
    // A press: where it began, the first row then, and whether it became a drag.
    bool pressed_ { false };
    bool dragging_ { false };
    platform::Point press_point_;
    int press_first_row_ { 0 };
};

} // namespace skinner
