#include "platform/graphics/PictureAxis.h"

#include <algorithm>

namespace platform {

PictureAxis PictureAxis::normalized() const
{
    PictureAxis result = *this;
    result.x1 = std::max(result.x1, result.x0);
    result.x2 = std::max(result.x2, result.x1);
    result.x3 = std::max(result.x3, result.x2);
    return result;
}

} // namespace platform
