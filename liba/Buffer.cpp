#include "liba/Buffer.h"

#include "liba/Atomic.h"

#include <algorithm>
#include <cstring>

namespace liba {

Buffer::Storage* Buffer::allocate(std::int32_t capacity)
{
    auto* storage = new Storage { 1, nullptr, std::max<std::int32_t>(capacity, 0) };
    storage->bytes = new std::uint8_t[static_cast<std::size_t>(storage->capacity)];
    return storage;
}

void Buffer::release(Storage* storage)
{
    if (atomic_decrement(&storage->count) == 0) {
        delete[] storage->bytes;
        delete storage;
    }
}

Buffer::Buffer()
    : storage_(allocate(0))
{
}

Buffer::Buffer(std::int32_t size)
    : storage_(allocate(size))
    , length_(size)
{
}

Buffer::Buffer(std::int32_t size, const void* source)
    : Buffer(size)
{
    if (size > 0)
        std::memcpy(storage_->bytes, source, static_cast<std::size_t>(size));
}

Buffer::Buffer(const Buffer& source, std::int32_t offset, std::int32_t length)
    : storage_(source.storage_)
    , offset_(source.offset_ + offset)
    , length_(length)
{
    atomic_increment(&storage_->count);
}

Buffer::Buffer(const Buffer& other)
    : storage_(other.storage_)
    , offset_(other.offset_)
    , length_(other.length_)
{
    atomic_increment(&storage_->count);
}

Buffer& Buffer::operator=(const Buffer& other)
{
    // Take the new reference before dropping the old one: self-assignment is harmless.
    atomic_increment(&other.storage_->count);
    release(storage_);
    storage_ = other.storage_;
    offset_ = other.offset_;
    length_ = other.length_;
    return *this;
}

Buffer::~Buffer() { release(storage_); }

const std::uint8_t* Buffer::data() const { return storage_->bytes + offset_; }

bool Buffer::is_shared() const { return __atomic_load_n(&storage_->count, __ATOMIC_ACQUIRE) != 1; }

std::uint8_t* Buffer::writable_data()
{
    if (is_shared()) {
        Storage* copy = allocate(length_);
        if (length_ > 0)
            std::memcpy(copy->bytes, storage_->bytes + offset_, static_cast<std::size_t>(length_));
        release(storage_);
        storage_ = copy;
        offset_ = 0;
    }
    return storage_->bytes + offset_;
}

std::int32_t Buffer::copy_from(std::int32_t offset, const Buffer& source)
{
    std::int32_t n = std::min(source.length_, length_ - offset);
    if (n <= 0)
        return 0;
    // Keep the source alive while this view may swap its storage.
    Buffer keep(source);
    std::memmove(writable_data() + offset, keep.data(), static_cast<std::size_t>(n));
    return n;
}

} // namespace liba
