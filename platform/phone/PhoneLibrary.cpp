#include "platform/phone/PhoneLibrary.h"

#include <climits>
#include <cstdlib>
#include <dlfcn.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr const char* LIBRARY_NAME = "libphone.so";

std::string program_directory()
{
    char path[PATH_MAX];
    ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0)
        return {};
    std::string program(path, static_cast<std::size_t>(length));
    std::size_t slash = program.rfind('/');
    return slash == std::string::npos ? std::string() : program.substr(0, slash);
}

} // namespace

std::string PhoneLibrary::default_path()
{
    if (const char* library = std::getenv("RINGWISE_PHONE"); library && *library)
        return library;
    std::string beside = program_directory() + "/" + LIBRARY_NAME;
    if (::access(beside.c_str(), F_OK) == 0)
        return beside;
    return LIBRARY_NAME;
}

PhoneLibrary::PhoneLibrary()
    : PhoneLibrary(default_path())
{
}

PhoneLibrary::PhoneLibrary(const std::string& path)
{
    handle_ = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_)
        return;
    make_call_ = reinterpret_cast<PhoneMakeCallFunction>(::dlsym(handle_, PHONE_MAKE_CALL_SYMBOL));
    if (!make_call_) {
        ::dlclose(handle_);
        handle_ = nullptr;
    }
}

PhoneLibrary::~PhoneLibrary()
{
    if (handle_)
        ::dlclose(handle_);
}

} // namespace platform
