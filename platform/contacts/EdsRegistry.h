#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace platform {

class EdsLibrary;

// The process's connection to the list of sources of Evolution Data Server,
// made once and kept: it follows the service by itself, and releasing it
// would leave the library's bus subscriptions to be freed on its own
// thread, which has ended by then.
//
// The library's connect call takes no notice of cancellation and waits as
// long as the bus lets it for a service that does not answer, so it runs on
// a thread of its own; the caller waits for it only until its deadline. A
// connection that arrives later is used by the next caller; one that failed
// is tried again by the next caller.
class EdsRegistry {
public:
    // The registry object, or null when there is none by `deadline`.
    static void* get(const EdsLibrary& library, std::chrono::steady_clock::time_point deadline);

private:
    EdsRegistry() = default;
    void* connect(const EdsLibrary& library, std::chrono::steady_clock::time_point deadline);

    std::mutex mutex_;
    std::condition_variable changed_;
    void* registry_ { nullptr };
    bool connecting_ { false };
};

} // namespace platform
