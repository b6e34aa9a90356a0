#include "platform/Process.h"

#include <cerrno>
#include <csignal>
#include <unistd.h>

namespace platform {

int current_process_id()
{
    return static_cast<int>(::getpid());
}

bool process_has_ended(int pid)
{
    if (pid <= 0)
        return false;
    return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

} // namespace platform
