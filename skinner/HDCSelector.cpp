#include "skinner/HDCSelector.h"

#include "os/Assertion.h"

namespace skinner {

HDCSelector::HDCSelector(platform::Bitmap& bitmap)
    : canvas_(bitmap)
{
    if (bitmap.is_empty())
        report_assertion(u"HDCSelector::HDCSelector", u"Failed to select bitmap into context");
}

} // namespace skinner
