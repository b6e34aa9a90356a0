#pragma once

namespace skinner {

// Installs the makers of the automatic controls "Auto.Button",
// "Auto.Frame", "Auto.Picture" and "Auto.Panel". Every form's constructor
// calls it, so any program that makes forms has them; later calls do
// nothing.
void register_standard_controls();

} // namespace skinner
