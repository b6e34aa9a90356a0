#pragma once

// Measures the largest single allocation made while an object lives, through
// the sanitizer runtime's allocation hooks. Without a sanitizer runtime (an
// optimised build) nothing is measured and `measured()` is false.

#include <atomic>
#include <cstddef>

extern "C" int __sanitizer_install_malloc_and_free_hooks(
    void (*malloc_hook)(const volatile void*, std::size_t), void (*free_hook)(const volatile void*))
    __attribute__((weak));

namespace test_support {

class LargestAllocation {
public:
    LargestAllocation()
    {
        largest().store(0);
        if (__sanitizer_install_malloc_and_free_hooks && !installed()) {
            installed() = __sanitizer_install_malloc_and_free_hooks(on_malloc, on_free) != 0;
        }
        active().store(installed());
    }
    ~LargestAllocation() { active().store(false); }
    LargestAllocation(const LargestAllocation&) = delete;
    LargestAllocation& operator=(const LargestAllocation&) = delete;

    bool measured() const { return installed(); }
    std::size_t bytes() const { return largest().load(); }

private:
    static std::atomic<std::size_t>& largest()
    {
        static std::atomic<std::size_t> value { 0 };
        return value;
    }
    static std::atomic<bool>& active()
    {
        static std::atomic<bool> value { false };
        return value;
    }
    static bool& installed()
    {
        static bool value = false;
        return value;
    }
    static void on_malloc(const volatile void*, std::size_t size)
    {
        if (!active().load(std::memory_order_relaxed))
            return;
        std::size_t seen = largest().load(std::memory_order_relaxed);
        while (size > seen && !largest().compare_exchange_weak(seen, size)) { }
    }
    static void on_free(const volatile void*) { }
};

} // namespace test_support
