#pragma once

#include <memory>

namespace skinner {

class FormImpl;

// The form's owning handle of its native window.
class FormImplHolder {
public:
    FormImplHolder();
    ~FormImplHolder();
    FormImplHolder(const FormImplHolder&) = delete;
    FormImplHolder& operator=(const FormImplHolder&) = delete;

    void reset(std::unique_ptr<FormImpl> impl);
    FormImpl* get() const { return impl_.get(); }
    FormImpl* operator->() const { return impl_.get(); }
    explicit operator bool() const { return impl_ != nullptr; }

private:
    std::unique_ptr<FormImpl> impl_;
};

} // namespace skinner
