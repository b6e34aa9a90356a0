#pragma once

#include <string>

namespace liba {

// The exit code of a process ended by a broken internal rule (EX_SOFTWARE):
// a caller or script must never take such an end for success.
inline constexpr int ASSERTION_EXIT_CODE = 70;

// Writes a broken rule where the program keeps its diagnostics. The layer
// that owns the diagnostic log installs one; until then nothing is written.
using AssertionReporter = void (*)(const std::u16string& location, const std::u16string& message);

// Installs the reporter and returns the one installed before. Any thread.
AssertionReporter set_assertion_reporter(AssertionReporter reporter);

// Reports a broken internal rule and ends the process: hands the report to
// the installed reporter, shows a message box with the message under the
// location as its title, and then ends the process at once with
// ASSERTION_EXIT_CODE, without running destructors. `location` names the
// class and operation, such as "CActiveScheduler::set_active". Any thread.
[[noreturn]] void report_assertion(const std::u16string& location, const std::u16string& message);

} // namespace liba
