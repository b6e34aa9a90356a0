#pragma once

#include "audio/Provider.h"
#include "liba/CriticalSection.h"

#include <atomic>

namespace audio {

// A sink of audio blocks, linked to at most one provider (see Link.h). Its
// lock guards both ends of the link and every delivery. It is re-entrant:
// push() holds it while calling on_data(), and on_data() of a processor or
// buffer enters it again.
template<typename Data> class Consumer {
public:
    Consumer() = default;
    Consumer(const Consumer&) = delete;
    Consumer& operator=(const Consumer&) = delete;

    virtual void on_data(const Data&) { }
    virtual ~Consumer();

    std::atomic<Provider<Data>*> provider { nullptr };
    liba::CriticalSection lock;
};

// A link ends with the destruction of either side, so that neither is left
// pointing at a destroyed object.
template<typename Data> Consumer<Data>::~Consumer()
{
    liba::Lock guard(lock);
    if (Provider<Data>* linked = provider.load()) {
        if (linked->consumer.load() == this)
            linked->consumer.store(nullptr);
        provider.store(nullptr);
    }
}

template<typename Data> Provider<Data>::~Provider()
{
    Consumer<Data>* linked = consumer.load();
    if (!linked)
        return;
    liba::Lock guard(linked->lock);
    if (linked->provider.load() == this)
        linked->provider.store(nullptr);
    consumer.store(nullptr);
}

} // namespace audio
