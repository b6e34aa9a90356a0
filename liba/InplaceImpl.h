#pragma once

#include <cstddef>
#include <new>
#include <utility>

namespace liba {

// Holds an implementation record inside the object that uses it, in `size`
// bytes of suitably aligned storage, so that a public header need not show
// the record's definition. The record is constructed by the holder's
// constructor and destroyed by its destructor.
template<typename Impl, std::size_t size>
class InplaceImpl {
public:
    template<typename... Args>
    explicit InplaceImpl(Args&&... args)
    {
        static_assert(sizeof(Impl) <= size, "implementation record does not fit its in-place storage");
        static_assert(alignof(Impl) <= alignof(std::max_align_t), "implementation record needs stronger alignment");
        new (storage_) Impl(std::forward<Args>(args)...);
    }
    ~InplaceImpl() { impl().~Impl(); }

    InplaceImpl(const InplaceImpl&) = delete;
    InplaceImpl& operator=(const InplaceImpl&) = delete;

    Impl& impl() { return *std::launder(reinterpret_cast<Impl*>(storage_)); }
    const Impl& impl() const { return *std::launder(reinterpret_cast<const Impl*>(storage_)); }

private:
    alignas(std::max_align_t) unsigned char storage_[size];
};

} // namespace liba
