#pragma once

#include <cstdint>

namespace liba {

// A counted view on reference-counted bytes. Copies share the storage; a
// writer calls writable_data() first, which copies the view out when the
// storage is shared, so writing through one view never changes another.
// The count is changed atomically: views of one storage may live on
// different threads, as long as each view is used by one thread at a time.
class Buffer {
public:
    Buffer();
    explicit Buffer(std::int32_t size);
    Buffer(std::int32_t size, const void* source);
    Buffer(const Buffer& source, std::int32_t offset, std::int32_t length);
    Buffer(const Buffer& other);
    Buffer& operator=(const Buffer& other);
    ~Buffer();

    const std::uint8_t* data() const;
    std::uint8_t* writable_data();
    std::int32_t copy_from(std::int32_t offset, const Buffer& source);

    std::int32_t offset() const { return offset_; }
    std::int32_t length() const { return length_; }
    // Whether another view shares this view's storage.
    bool is_shared() const;

private:
    struct Storage {
        std::int32_t count;
        std::uint8_t* bytes;
        std::int32_t capacity;
    };
    static Storage* allocate(std::int32_t capacity);
    static void release(Storage* storage);

    Storage* storage_;
    std::int32_t offset_ { 0 };
    std::int32_t length_ { 0 };
};

} // namespace liba
