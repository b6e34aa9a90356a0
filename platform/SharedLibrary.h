#pragma once

#include <string>

namespace platform {

// The file that loading `path` opens. Stored data names libraries the way
// the device does ("RingwiseAssign.dll"); when "X.dll" does not exist,
// "libX.so" of the same folder is loaded.
std::string library_file(const std::string& path);

// A shared library loaded at once (every symbol resolved) and kept to
// itself. Closing it leaves its code in the process until the process ends,
// so that whatever the library keeps or has started stays valid.
class SharedLibrary {
public:
    // Loads library_file(path).
    explicit SharedLibrary(const std::string& path);
    ~SharedLibrary();

    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;

    bool is_loaded() const { return handle_ != nullptr; }
    // The file that was opened, after the mapping.
    const std::string& file() const { return file_; }
    // Why loading failed; empty when it worked.
    const std::string& error() const { return error_; }

    // Null when the library is not loaded or does not export `name`.
    void* symbol(const char* name) const;
    template<typename Function> Function function(const char* name) const
    {
        return reinterpret_cast<Function>(symbol(name));
    }

private:
    std::string file_;
    std::string error_;
    void* handle_ { nullptr };
};

} // namespace platform
