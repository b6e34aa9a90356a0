#pragma once

#include <cstdint>

namespace platform {

// The call request that a phone library's PhoneMakeCall takes: the device's
// record, fields in the device's order, pointers at their native size (so
// the record is 24 bytes on 32-bit targets, 40 on 64-bit ones). `size`
// holds sizeof(PhoneMakeCallInfo).
struct PhoneMakeCallInfo {
    std::uint32_t size;
    std::uint32_t flags;
    const char16_t* destination; // zero-terminated
    const char16_t* application_name;
    const char16_t* called_party;
    const char16_t* comment;
};

// The default call: the phone library decides whether to ask the user.
constexpr std::uint32_t PHONE_MAKE_CALL_DEFAULT = 1;

// Returns 0 when the call was placed.
using PhoneMakeCallFunction = std::int32_t (*)(PhoneMakeCallInfo* info);

constexpr const char* PHONE_MAKE_CALL_SYMBOL = "PhoneMakeCall";

} // namespace platform
