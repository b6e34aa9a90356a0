#pragma once

#include <cstdint>

namespace liba {

// Atomic increment and decrement of a 32-bit counter; both return the new value.
std::int32_t atomic_increment(std::int32_t* counter);
std::int32_t atomic_decrement(std::int32_t* counter);

} // namespace liba
