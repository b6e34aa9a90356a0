#pragma once

#include <string>

// Reports a broken internal rule and ends the process: writes
// "Zavez: " + message + " @ " + location + "\n" to the diagnostic log and
// flushes it, shows a message box with the message under the location as its
// title, and then ends the process at once with exit code 70 (EX_SOFTWARE),
// without running destructors. `location` names the class and operation,
// such as "CActiveScheduler::set_active". Any thread may call it.
//
// Broken rules found below this layer (active objects, the scheduler) go
// through the same report: the log installs its reporter into liba.
[[noreturn]] void report_assertion(const std::u16string& location, const std::u16string& message);

namespace os {
using ::report_assertion;

// Makes every broken rule reported through liba write its log line.
void install_assertion_log();
} // namespace os
