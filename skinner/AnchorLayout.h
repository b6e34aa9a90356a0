#pragma once

#include "skinner/Keywords.h"

namespace skinner {

// Where a control lies on one axis of its container.
struct AxisPlacement {
    int position { 0 };
    int length { 0 };
    bool operator==(const AxisPlacement&) const = default;
};

// Lays one axis out by its anchor: the container now has origin `origin`
// and size `size` on the axis, the control was designed at `design_position`
// with `design_length` in a container of `design_size`. Divisions truncate
// toward zero; RATIO and CENTER keep the design position when the design
// size is 0.
AxisPlacement lay_out_axis(
    Anchor anchor, int origin, int size, int design_position, int design_length, int design_size);

} // namespace skinner
