#include "platform/contacts/EdsRegistry.h"

#include "platform/contacts/EdsLibrary.h"

#include <thread>

namespace platform {

void* EdsRegistry::get(const EdsLibrary& library, std::chrono::steady_clock::time_point deadline)
{
    // Never destroyed: a connect thread that the caller stopped waiting for
    // may still report to it while the process exits.
    static EdsRegistry* registry = new EdsRegistry;
    return registry->connect(library, deadline);
}

void* EdsRegistry::connect(
    const EdsLibrary& library, std::chrono::steady_clock::time_point deadline)
{
    std::unique_lock lock(mutex_);
    if (!registry_ && !connecting_) {
        connecting_ = true;
        // The library object lives as long as the process.
        std::thread([this, &library] {
            EdsError error(library);
            void* registry = library.source_registry_new_sync(nullptr, error.out());
            std::lock_guard lock(mutex_);
            registry_ = registry;
            connecting_ = false;
            changed_.notify_all();
        }).detach();
    }
    changed_.wait_until(lock, deadline, [this] { return registry_ || !connecting_; });
    return registry_;
}

} // namespace platform
