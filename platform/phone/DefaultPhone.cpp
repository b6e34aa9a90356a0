// The phone library beside the program: the modem first, and where there is
// none (a desktop, a tablet) the desktop's dialer through a tel: URI.

#include "platform/Convert.h"
#include "platform/phone/PhoneCall.h"
#include "platform/phone/PhoneCallers.h"

extern "C" __attribute__((visibility("default"))) std::int32_t PhoneMakeCall(
    platform::PhoneMakeCallInfo* info)
{
    if (!info || info->size < sizeof(platform::PhoneMakeCallInfo) || !info->destination)
        return -1;
    std::string number = platform::to_utf8(info->destination);
    if (platform::call_through_modemmanager(number) == 0)
        return 0;
    return platform::call_through_tel_handler(number);
}
