#pragma once

#include "skinner/ControlGrid.h"

#include <string>
#include <utility>
#include <vector>

namespace skinner {

// A grid whose cells show which parts of their text match a filter: the
// matching parts are drawn in the look "ItemFiltered" ("ItemSelectionFiltered"
// in the selected row), the rest in the cell's own look.
class ControlGridFilter : public ControlGrid {
public:
    // For a cell, its text and the ranges of it (start, length in code
    // units) that match the current filter.
    class Filter {
    public:
        virtual ~Filter() = default;
        virtual std::u16string text(int column, int row) const = 0;
        virtual std::vector<std::pair<int, int>> ranges(int column, int row) const = 0;
    };

    ControlGridFilter(Container& container, const std::u16string& id);

    // The grid's own filter matches every occurrence of the filter text in
    // the cell's text, without regard to case; the application may install
    // another (nullptr restores it).
    void set_filter(const Filter* filter);
    const Filter& filter() const { return filter_ ? *filter_ : own_filter_; }
    void set_filter_text(const std::u16string& text);
    const std::u16string& filter_text() const { return own_filter_.needle; }

    void paint_cell(int column, int row, platform::Canvas& canvas, platform::Rect rect,
        bool selected, bool highlighted) override;
    void read_properties() override;
    const char* class_name() const override { return "ControlGridFilter"; }

private:
    struct OwnFilter final : Filter {
        const ControlGrid* grid { nullptr };
        std::u16string needle;
        std::u16string text(int column, int row) const override;
        std::vector<std::pair<int, int>> ranges(int column, int row) const override;
    };

    OwnFilter own_filter_;
    const Filter* filter_ { nullptr };
    StateLook filtered_;
    StateLook selection_filtered_;
};

// The text shortened to the longest prefix that, with U+2026 after it,
// leaves the width of two ellipses free in `width`; unchanged when it fits.
// Found by binary search over the length; `measure` gives a text's width.
template<typename Measure>
std::u16string shorten_with_ellipsis(const std::u16string& text, int width, Measure measure)
{
    if (measure(text) <= width)
        return text;
    const std::u16string ellipsis = u"\u2026";
    const int room = width - 2 * measure(ellipsis);
    std::size_t low = 0;
    std::size_t high = text.size();
    while (low < high) {
        std::size_t middle = (low + high + 1) / 2;
        if (measure(text.substr(0, middle) + ellipsis) <= room)
            low = middle;
        else
            high = middle - 1;
    }
    return text.substr(0, low) + ellipsis;
}

} // namespace skinner
