#include "liba/Atomic.h"

namespace liba {

std::int32_t atomic_increment(std::int32_t* counter)
{
    return __atomic_add_fetch(counter, 1, __ATOMIC_ACQ_REL);
}

std::int32_t atomic_decrement(std::int32_t* counter)
{
    return __atomic_sub_fetch(counter, 1, __ATOMIC_ACQ_REL);
}

} // namespace liba
