#pragma once

#include "platform/phone/PhoneCall.h"

#include <string>

namespace platform {

// The phone library, loaded for one call and freed when this object goes.
// RINGWISE_PHONE names it; otherwise "libphone.so" beside the program, then
// "libphone.so" on the system's library path.
class PhoneLibrary {
public:
    PhoneLibrary();
    explicit PhoneLibrary(const std::string& path);
    ~PhoneLibrary();

    PhoneLibrary(const PhoneLibrary&) = delete;
    PhoneLibrary& operator=(const PhoneLibrary&) = delete;

    bool is_loaded() const { return handle_ != nullptr; }
    // Null when the library is missing or has no PhoneMakeCall.
    PhoneMakeCallFunction make_call() const { return make_call_; }

    static std::string default_path();

private:
    void* handle_ { nullptr };
    PhoneMakeCallFunction make_call_ { nullptr };
};

} // namespace platform
