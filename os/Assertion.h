#pragma once

#include <string>

// Reports a broken internal rule and ends the process: writes
// "Zavez: " + message + " @ " + location + "\n" to the diagnostic log and
// flushes it, shows a message box with the message under the location as its
// title, and then ends the process at once with exit code 0, without running
// destructors. `location` names the class and operation, such as
// "CActiveScheduler::set_active". Any thread may call it.
[[noreturn]] void report_assertion(const std::u16string& location, const std::u16string& message);

namespace os {
using ::report_assertion;
}
