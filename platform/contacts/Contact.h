#pragma once

#include <cstdint>
#include <string>

namespace platform {

// One contact as the device's contacts store hands it out: its id and the
// text fields the dialer uses. The store keeps more; these are copied out.
struct Contact {
    std::int32_t oid { 0 };
    std::u16string first_name;
    std::u16string last_name;
    std::u16string company;
    std::u16string mobile_phone;
    std::u16string business_phone;
    std::u16string home_phone;
};

} // namespace platform
