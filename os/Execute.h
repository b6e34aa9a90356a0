#pragma once

#include <string>

namespace os {

// Starts a program, or opens a document with the desktop's handler, without
// waiting for it. Both texts may start with a path macro and are expanded
// first; the call is written to the diagnostic log as
// "execute_file(" + file + ", " + parameters + ")\n". The parameters reach a
// program as one argument, exactly as given (none when empty). True when the
// program or handler was started.
bool execute_file(const std::u16string& file, const std::u16string& parameters);

// Opens a web address in the user's browser; the outcome is not reported.
void open_url(const std::u16string& url);

} // namespace os
