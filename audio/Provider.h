#pragma once

#include <atomic>
#include <cstdint>

namespace audio {

template<typename Data> class Consumer;

// A source of audio blocks, linked to at most one consumer (see Link.h).
// The link is written only under the consumer's lock; it is atomic because
// push() and pull() read it before they take that lock (push() pins the
// consumer it reads, see ConsumerPin).
template<typename Data> class Provider {
public:
    Provider() = default;
    Provider(const Provider&) = delete;
    Provider& operator=(const Provider&) = delete;
    virtual ~Provider();

    // At most `count` units of audio, empty when nothing is left. The unit
    // is the implementation's: bytes for buffers and processors, sample
    // frames for file readers.
    virtual Data get_data(std::int32_t count) = 0;

    std::atomic<Consumer<Data>*> consumer { nullptr };
};

} // namespace audio

// The destructor that ends a link needs the consumer's definition.
#include "audio/Consumer.h"
