#pragma once

#include <string>
#include <vector>

namespace liba {

// Base of every stream. A stream that has recorded an error refuses all
// further work: its operations then return 0 or false without touching the
// platform.
class ErrorBase {
public:
    virtual void add_error(const std::u16string& message) { errors.push_back(message); }
    virtual ~ErrorBase() = default;

    bool has_errors() const { return !errors.empty(); }

    std::vector<std::u16string> errors;
};

} // namespace liba
