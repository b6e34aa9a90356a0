#include "liba/Assertion.h"

#include "platform/MessageBox.h"

#include <atomic>
#include <unistd.h>

namespace liba {

namespace {

// Constant-initialised, so a reporter installed by a static initialiser
// elsewhere is never overwritten.
std::atomic<AssertionReporter> installed_reporter { nullptr };

} // namespace

AssertionReporter set_assertion_reporter(AssertionReporter reporter)
{
    return installed_reporter.exchange(reporter, std::memory_order_acq_rel);
}

void report_assertion(const std::u16string& location, const std::u16string& message)
{
    if (AssertionReporter reporter = installed_reporter.load(std::memory_order_acquire))
        reporter(location, message);
    platform::message_box(message, location, platform::MessageBoxButtons::Ok);
    ::_exit(ASSERTION_EXIT_CODE);
}

} // namespace liba
