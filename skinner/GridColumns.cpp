#include "skinner/GridColumns.h"

#include <algorithm>
#include <cstdint>

namespace skinner {

std::vector<int> column_boundaries(const std::vector<int>& widths, int available)
{
    std::int64_t fixed = 0;
    std::int64_t shares = 0;
    int last_shared = -1;
    for (std::size_t i = 0; i < widths.size(); ++i) {
        if (widths[i] >= 0) {
            fixed += widths[i];
        } else {
            shares += widths[i];
            last_shared = static_cast<int>(i);
        }
    }
    const std::int64_t space = std::max<std::int64_t>(0, available - fixed);
    std::int64_t given = 0;
    std::vector<int> boundaries { 0 };
    boundaries.reserve(widths.size() + 1);
    std::int64_t x = 0;
    for (std::size_t i = 0; i < widths.size(); ++i) {
        std::int64_t width = widths[i];
        if (width < 0) {
            width = static_cast<int>(i) == last_shared ? space - given : space * width / shares;
            given += width;
        }
        x += width;
        boundaries.push_back(static_cast<int>(x));
    }
    return boundaries;
}

} // namespace skinner
