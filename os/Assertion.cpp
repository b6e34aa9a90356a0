#include "os/Assertion.h"

#include "liba/Assertion.h"
#include "os/Log.h"

namespace {

void log_assertion(const std::u16string& location, const std::u16string& message)
{
    auto& log = os::log();
    log << u"Zavez: " << message << u" @ " << location << u"\n";
    log.flush();
}

} // namespace

void os::install_assertion_log()
{
    liba::set_assertion_reporter(&log_assertion);
}

void report_assertion(const std::u16string& location, const std::u16string& message)
{
    os::install_assertion_log();
    liba::report_assertion(location, message);
}
