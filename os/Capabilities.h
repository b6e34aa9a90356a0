#pragma once

namespace os {

// Whether the device is a Smartphone: asked once per process (once per
// loaded library for the companions) and written to the log as
// "static_capability_is_smartphone=" with the platform type.
bool is_smartphone();

} // namespace os
