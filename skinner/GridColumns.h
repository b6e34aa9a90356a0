#pragma once

#include <vector>

namespace skinner {

// The column boundaries of a grid `available` pixels wide: one more than the
// columns, the running sums of their widths from 0. A width of 0 or more is
// fixed; a negative width is a share of the space the fixed columns leave
// (never below 0): space × width / the sum of all negative widths, integer
// division, except the last shared column, which takes what remains.
std::vector<int> column_boundaries(const std::vector<int>& widths, int available);

} // namespace skinner
