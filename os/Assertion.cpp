#include "os/Assertion.h"

#include "os/Log.h"
#include "platform/MessageBox.h"

#include <unistd.h>

void report_assertion(const std::u16string& location, const std::u16string& message)
{
    auto& log = os::log();
    log << u"Zavez: " << message << u" @ " << location << u"\n";
    log.flush();
    platform::message_box(message, location, platform::MessageBoxButtons::Ok);
    ::_exit(0);
}
