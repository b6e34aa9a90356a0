#pragma once

#include "liba/Event.h"
#include "liba/Thread.h"
#include "platform/Message.h"

#include <atomic>
#include <cstdint>

namespace audio {

// The worker thread of a recorder or player: it runs one step above normal
// priority with a message queue of its own, to which the wave device posts
// its notifications and the owner its requests. Each message is handed to
// on_message() on that thread, until the loop ends (a posted WM_QUIT, or a
// stop request seen with the next message); then on_loop_end() runs there.
class DeviceThread : public liba::Thread {
protected:
    // Starts the thread; false when it could not be started.
    bool start_thread();
    // Waits at most `milliseconds` until the thread has its queue.
    bool wait_until_ready(unsigned milliseconds);
    // The thread's id, once it is ready: the device reports to it.
    platform::ThreadId thread_id() const { return thread_id_.load(); }
    // Posts `message` to the thread, first waiting until it has its queue
    // (a thread still starting gets it in a moment); false when the thread
    // never started or the post failed.
    bool post(std::uint32_t message);
    // Posts `message` to a thread still running, so that its loop ends, and
    // waits for its end. Owners call it from their destructors.
    void stop_thread(std::uint32_t message);

    virtual void on_message(const platform::Message& message) = 0;
    virtual void on_loop_end() { }

private:
    void run() final;

    bool started_ { false };
    liba::Event ready_;
    std::atomic<platform::ThreadId> thread_id_ { 0 };
};

} // namespace audio
