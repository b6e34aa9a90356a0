#include "skinner/FormImplHolder.h"

#include "skinner/FormImpl.h"

namespace skinner {

FormImplHolder::FormImplHolder() = default;
FormImplHolder::~FormImplHolder() = default;

void FormImplHolder::reset(std::unique_ptr<FormImpl> impl)
{
    // The old window goes before the new one is kept.
    impl_.reset();
    impl_ = std::move(impl);
}

} // namespace skinner
