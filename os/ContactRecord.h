#pragma once

#include <cstdint>
#include <string>

namespace os {

// One contact of the device's contacts store, copied out of it. The store
// keeps more text fields; these are the ones the dialer uses.
struct ContactRecord {
    std::int32_t oid { 0 };
    std::u16string first_name;
    std::u16string last_name;
    std::u16string company;
    std::u16string mobile_phone;
    std::u16string business_phone;
    std::u16string home_phone;
};

} // namespace os
