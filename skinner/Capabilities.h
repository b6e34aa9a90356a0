#pragma once

#include "os/Capabilities.h"

namespace skinner {

// The framework asks the one Smartphone test that the companions share.
using os::is_smartphone;

// Whether menus are soft keys: on a Smartphone, or when the operating
// system's major version (RINGWISE_OS_MAJOR, default 5) is above 4.
bool has_soft_key_menus();

} // namespace skinner
