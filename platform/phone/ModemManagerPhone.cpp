// The phone library that dials through the phone's modem (ModemManager).

#include "platform/Convert.h"
#include "platform/phone/PhoneCall.h"
#include "platform/phone/PhoneCallers.h"

extern "C" __attribute__((visibility("default"))) std::int32_t PhoneMakeCall(
    platform::PhoneMakeCallInfo* info)
{
    if (!info || info->size < sizeof(platform::PhoneMakeCallInfo) || !info->destination)
        return -1;
    return platform::call_through_modemmanager(platform::to_utf8(info->destination));
}
