// The phone library for demonstrations and tests: instead of dialling, it
// appends each number and a line end to the file named by
// RINGWISE_PHONE_LOG and says "Calling NUMBER" on standard output.

#include "platform/Convert.h"
#include "platform/phone/PhoneCall.h"

#include <cstdio>
#include <cstdlib>

extern "C" __attribute__((visibility("default"))) std::int32_t PhoneMakeCall(
    platform::PhoneMakeCallInfo* info)
{
    if (!info || info->size < sizeof(platform::PhoneMakeCallInfo) || !info->destination)
        return -1;
    std::string number = platform::to_utf8(info->destination);
    if (const char* log = std::getenv("RINGWISE_PHONE_LOG"); log && *log) {
        FILE* file = std::fopen(log, "a");
        if (!file)
            return -1;
        bool written = std::fprintf(file, "%s\n", number.c_str()) >= 0;
        written = std::fclose(file) == 0 && written;
        if (!written)
            return -1;
    }
    std::printf("Calling %s\n", number.c_str());
    std::fflush(stdout);
    return 0;
}
