#include "platform/SharedLibrary.h"

#include <dlfcn.h>
#include <strings.h>
#include <sys/stat.h>

namespace platform {

std::string library_file(const std::string& path)
{
    constexpr std::size_t EXTENSION = 4; // ".dll"
    if (path.size() <= EXTENSION
        || ::strcasecmp(path.c_str() + path.size() - EXTENSION, ".dll") != 0)
        return path;
    struct stat status;
    if (::stat(path.c_str(), &status) == 0)
        return path;
    std::size_t slash = path.rfind('/');
    std::size_t name = slash == std::string::npos ? 0 : slash + 1;
    if (name == path.size() - EXTENSION)
        return path;
    return path.substr(0, name) + "lib" + path.substr(name, path.size() - EXTENSION - name) + ".so";
}

SharedLibrary::SharedLibrary(const std::string& path)
    : file_(library_file(path))
{
    // The code stays mapped after the handle is closed: a library keeps
    // process-wide state (the registry connection, the log) and may have
    // started threads, such as the one that waits for a program it started.
    handle_ = ::dlopen(file_.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (!handle_) {
        const char* reason = ::dlerror();
        error_ = reason ? reason : "cannot be loaded";
    }
}

SharedLibrary::~SharedLibrary()
{
    if (handle_)
        ::dlclose(handle_);
}

void* SharedLibrary::symbol(const char* name) const
{
    return handle_ ? ::dlsym(handle_, name) : nullptr;
}

} // namespace platform
