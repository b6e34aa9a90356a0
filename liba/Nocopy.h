#pragma once

namespace liba {

// Base of every class whose objects own something that must not be duplicated.
class Nocopy {
protected:
    Nocopy() = default;
    ~Nocopy() = default;

public:
    Nocopy(const Nocopy&) = delete;
    Nocopy& operator=(const Nocopy&) = delete;
};

} // namespace liba
