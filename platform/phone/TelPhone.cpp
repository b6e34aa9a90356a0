// The phone library that hands the number to the desktop's dialer (tel:).

#include "platform/Convert.h"
#include "platform/phone/PhoneCall.h"
#include "platform/phone/PhoneCallers.h"

extern "C" __attribute__((visibility("default"))) std::int32_t PhoneMakeCall(
    platform::PhoneMakeCallInfo* info)
{
    if (!info || info->size < sizeof(platform::PhoneMakeCallInfo) || !info->destination)
        return -1;
    return platform::call_through_tel_handler(platform::to_utf8(info->destination));
}
