#pragma once

namespace skinner {

// Lets the screen's script player see the live forms: the active form's
// kind, its controls by id, named commands and the text dump. Installed
// once, by the first form made.
void install_form_script_host();

} // namespace skinner
