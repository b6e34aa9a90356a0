#include "skinner/AnchorLayout.h"

namespace skinner {

AxisPlacement lay_out_axis(
    Anchor anchor, int origin, int size, int design_position, int design_length, int design_size)
{
    const int d = design_position;
    const int e = design_length;
    const int D = design_size;
    const int S = size;
    AxisPlacement placement { origin + d, e };
    switch (anchor) {
    case Anchor::MAX_SIDE:
        placement.position = origin + S + d - D;
        break;
    case Anchor::RATIO:
        if (D != 0) {
            placement.position = origin + S * d / D;
            placement.length = S * (d + e) / D - S * d / D;
        }
        break;
    case Anchor::CENTER:
        if (D != 0)
            placement.position = origin + S * (d + e / 2) / D - e / 2;
        break;
    case Anchor::BOTH_SIDE:
        placement.length = e + S - D;
        break;
    case Anchor::MIN_SIDE:
        break;
    }
    return placement;
}

} // namespace skinner
