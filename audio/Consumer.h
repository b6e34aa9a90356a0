#pragma once

#include "audio/Provider.h"
#include "liba/CriticalSection.h"

#include <atomic>
#include <condition_variable>
#include <mutex>

namespace audio {

namespace detail {

// The lock of every consumer's pin count, and the condition on which a
// consumer's destructor waits for its count to fall to zero. It is held for
// a few instructions only, and no other lock is taken under it. Never
// destroyed: a consumer with static storage may end after it would have.
struct PinLock {
    std::mutex mutex;
    std::condition_variable released;
};

inline PinLock& pin_lock()
{
    static PinLock* lock = new PinLock;
    return *lock;
}

} // namespace detail

template<typename Data> class ConsumerPin;

// A sink of audio blocks, linked to at most one provider (see Link.h). Its
// lock guards both ends of the link and every delivery. It is re-entrant:
// push() holds it while calling on_data(), and on_data() of a processor or
// buffer enters it again.
//
// It may be destroyed on another thread than the one that pushes to it: the
// destructor waits for every push that has read it from a provider's link
// (see ConsumerPin). So it must not be destroyed from inside a delivery.
template<typename Data> class Consumer {
public:
    Consumer() = default;
    Consumer(const Consumer&) = delete;
    Consumer& operator=(const Consumer&) = delete;

    virtual void on_data(const Data&) { }
    virtual ~Consumer();

    std::atomic<Provider<Data>*> provider { nullptr };
    liba::CriticalSection lock;

private:
    friend class ConsumerPin<Data>;
    // Pins held on this consumer; guarded by detail::pin_lock().
    int pins_ { 0 };
};

// Holds the consumer that a provider links to, so that it outlives the pin.
// Whoever reads a provider's link and then takes that consumer's lock pins
// it first: in between, another thread may unlink the consumer and destroy
// it. The link is read and the pin taken under one lock, so a consumer whose
// destructor has stopped waiting for pins is never pinned again.
template<typename Data> class ConsumerPin {
public:
    explicit ConsumerPin(const Provider<Data>& provider)
    {
        std::lock_guard guard(detail::pin_lock().mutex);
        consumer_ = provider.consumer.load();
        if (consumer_)
            ++consumer_->pins_;
    }
    ~ConsumerPin()
    {
        if (!consumer_)
            return;
        std::lock_guard guard(detail::pin_lock().mutex);
        if (--consumer_->pins_ == 0)
            detail::pin_lock().released.notify_all();
    }
    ConsumerPin(const ConsumerPin&) = delete;
    ConsumerPin& operator=(const ConsumerPin&) = delete;

    // The pinned consumer; null when the provider had none.
    Consumer<Data>* get() const { return consumer_; }

private:
    Consumer<Data>* consumer_ { nullptr };
};

// A link ends with the destruction of either side, so that neither is left
// pointing at a destroyed object.
template<typename Data> Consumer<Data>::~Consumer()
{
    {
        liba::Lock guard(lock);
        if (Provider<Data>* linked = provider.load()) {
            if (linked->consumer.load() == this)
                linked->consumer.store(nullptr);
            provider.store(nullptr);
        }
    }
    // A push that read this consumer from the link before it ended may still
    // be on its way to the lock; it finds the link gone and lets go.
    std::unique_lock guard(detail::pin_lock().mutex);
    detail::pin_lock().released.wait(guard, [this] { return pins_ == 0; });
}

template<typename Data> Provider<Data>::~Provider()
{
    ConsumerPin<Data> pinned(*this);
    Consumer<Data>* linked = pinned.get();
    if (!linked)
        return;
    liba::Lock guard(linked->lock);
    if (linked->provider.load() == this)
        linked->provider.store(nullptr);
    consumer.store(nullptr);
}

} // namespace audio
