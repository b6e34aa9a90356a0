#pragma once

#include <cstdint>
#include <optional>

namespace platform {

// Where the screen plugs display input into a user-interface thread's queue.
// The queue calls pump() and wait() on its own thread, with no lock held;
// wake() may come from any thread.
class InputPump {
public:
    virtual ~InputPump() = default;

    // Posts every display event that has arrived as window messages
    // (post_message) and returns without waiting.
    virtual void pump() = 0;

    // Sleeps until display input arrives, wake() is called, or `timeout`
    // milliseconds pass (no timeout: no limit). A wake() that came before
    // the wait must end it at once, so that no posted message is missed.
    virtual void wait(std::optional<std::uint32_t> timeout) = 0;

    // Ends a wait(): a message was posted or sent to the queue.
    virtual void wake() = 0;
};

} // namespace platform
