#pragma once

#include "audio/Consumer.h"
#include "audio/Provider.h"

namespace audio {

// Links `provider` to `consumer`, dropping the provider's previous link
// first; with no consumer it only unlinks. Each end is changed under the
// lock of the consumer concerned.
template<typename Data> void connect(Provider<Data>& provider, Consumer<Data>* consumer)
{
    if (ConsumerPin<Data> pinned(provider); Consumer<Data>* old = pinned.get()) {
        liba::Lock guard(old->lock);
        if (old->provider.load() == &provider)
            old->provider.store(nullptr);
        provider.consumer.store(nullptr);
    }
    if (consumer) {
        liba::Lock guard(consumer->lock);
        // A consumer has one provider: unhook whichever fed it before.
        if (Provider<Data>* previous = consumer->provider.load(); previous && previous != &provider)
            previous->consumer.store(nullptr);
        consumer->provider.store(&provider);
        provider.consumer.store(consumer);
    }
}

// Drops the consumer's link to its provider, if any. Objects call it first
// thing in their destructors, so that no block arrives while they are being
// taken apart.
template<typename Data> void disconnect(Consumer<Data>& consumer)
{
    liba::Lock guard(consumer.lock);
    if (Provider<Data>* provider = consumer.provider.load()) {
        if (provider->consumer.load() == &consumer)
            provider->consumer.store(nullptr);
        consumer.provider.store(nullptr);
    }
}

// Hands `block` to the provider's consumer, if any, under that consumer's lock.
// The pin keeps a consumer that another thread unlinks and destroys alive
// until this push has taken its lock and found the link gone.
template<typename Data> void push(Provider<Data>& provider, const Data& block)
{
    ConsumerPin<Data> pinned(provider);
    Consumer<Data>* consumer = pinned.get();
    if (!consumer)
        return;
    liba::Lock guard(consumer->lock);
    // The link may have been dropped while this thread waited for the lock.
    if (consumer->provider.load() == &provider && provider.consumer.load() == consumer)
        consumer->on_data(block);
}

// Asks the consumer's provider for at most `count` units; empty when unlinked.
// Takes no lock: the provider guards its own state.
template<typename Data> Data pull(Consumer<Data>& consumer, std::int32_t count)
{
    if (Provider<Data>* provider = consumer.provider.load())
        return provider->get_data(count);
    return Data();
}

} // namespace audio
