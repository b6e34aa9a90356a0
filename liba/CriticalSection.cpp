#include "liba/CriticalSection.h"

namespace liba {

CriticalSection::CriticalSection()
    : mutex_(std::make_unique<std::recursive_mutex>())
{
}

CriticalSection::~CriticalSection() = default;

void CriticalSection::enter() { mutex_->lock(); }

void CriticalSection::leave() { mutex_->unlock(); }

} // namespace liba
