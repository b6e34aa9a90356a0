#include "skinner/ControlGridFilter.h"

#include "platform/Convert.h"
#include "platform/graphics/TextRenderer.h"
#include "skinner/FontRep.h"

#include <algorithm>

namespace skinner {

ControlGridFilter::ControlGridFilter(Container& container, const std::u16string& id)
    : ControlGrid(container, id)
{
    own_filter_.grid = this;
    read_properties();
}

void ControlGridFilter::read_properties()
{
    ControlGrid::read_properties();
    const StateLook& normal = cell_look(false, false);
    filtered_ = grid_properties().look(u"ItemFiltered", &normal);
    selection_filtered_ = grid_properties().look(u"ItemSelectionFiltered", &filtered_);
}

void ControlGridFilter::set_filter(const Filter* filter)
{
    filter_ = filter;
    repaint();
}

void ControlGridFilter::set_filter_text(const std::u16string& text)
{
    if (text == own_filter_.needle)
        return;
    own_filter_.needle = text;
    repaint();
}

std::u16string ControlGridFilter::OwnFilter::text(int column, int row) const
{
    return grid->cell_text(column, row);
}

std::vector<std::pair<int, int>> ControlGridFilter::OwnFilter::ranges(int column, int row) const
{
    std::vector<std::pair<int, int>> found;
    if (needle.empty())
        return found;
    std::u16string haystack = platform::to_lower(grid->cell_text(column, row));
    std::u16string lower = platform::to_lower(needle);
    for (std::size_t at = haystack.find(lower); at != std::u16string::npos;
         at = haystack.find(lower, at + lower.size()))
        found.emplace_back(static_cast<int>(at), static_cast<int>(lower.size()));
    return found;
}

void ControlGridFilter::paint_cell(int column, int row, platform::Canvas& canvas,
    platform::Rect rect, bool selected, bool highlighted)
{
    const StateLook& look = cell_look(selected, highlighted);
    const StateLook& marked = selected ? selection_filtered_ : filtered_;
    look.picture.draw(canvas, rect);

    const platform::Font& font = FontRep::find(look.font).font();
    const platform::Font& marked_font = FontRep::find(marked.font).font();
    std::u16string text = filter().text(column, row);
    auto ranges = filter().ranges(column, row);
    std::sort(ranges.begin(), ranges.end());
    std::u16string shown = shorten_with_ellipsis(text, rect.width(),
        [&](const std::u16string& part) { return platform::measure_text(font, part).width; });

    // Segments left to right; a segment's look is the range's or the cell's.
    const unsigned format
        = platform::TEXT_LEFT | platform::TEXT_VCENTER | platform::TEXT_SINGLELINE;
    int x = rect.left;
    std::size_t at = 0;
    auto draw = [&](std::size_t end, bool inside) {
        if (end <= at)
            return;
        std::u16string segment = shown.substr(at, end - at);
        const StateLook& used = inside ? marked : look;
        const platform::Font& used_font = inside ? marked_font : font;
        int width = platform::measure_text(used_font, segment).width;
        draw_text(canvas, used.font, segment, { x, rect.top, rect.right, rect.bottom }, format,
            used.color);
        x += width;
        at = end;
    };
    for (auto [start, length] : ranges) {
        if (start < 0 || length <= 0)
            continue;
        std::size_t begin = std::min<std::size_t>(static_cast<std::size_t>(start), shown.size());
        std::size_t end
            = std::min<std::size_t>(begin + static_cast<std::size_t>(length), shown.size());
        if (begin < at)
            begin = at;
        draw(begin, false);
        draw(end, true);
    }
    draw(shown.size(), false);
}

} // namespace skinner
