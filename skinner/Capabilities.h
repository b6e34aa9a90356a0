#pragma once

namespace skinner {

// Whether the device is a Smartphone: asked once per process and written to
// the log as "static_capability_is_smartphone=" with the platform type.
bool is_smartphone();

// Whether menus are soft keys: on a Smartphone, or when the operating
// system's major version (RINGWISE_OS_MAJOR, default 5) is above 4.
bool has_soft_key_menus();

} // namespace skinner
