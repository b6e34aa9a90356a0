#include "os/CrashPoint.h"

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <unistd.h>

namespace os {

namespace {

long crash_at()
{
    const char* text = std::getenv("RINGWISE_TEST_CRASH_AT");
    if (!text || !*text)
        return 0;
    char* end = nullptr;
    long value = std::strtol(text, &end, 10);
    return *end == '\0' && value > 0 ? value : 0;
}

} // namespace

void crash_point()
{
    static const long target = crash_at();
    static std::atomic<long> reached { 0 };
    if (target > 0 && ++reached == target)
        ::kill(::getpid(), SIGKILL);
}

} // namespace os
