#pragma once

#include "platform/Message.h"

#include <cstdint>

namespace platform {

class InputPump;

// The calling thread's id (its Linux thread id).
ThreadId current_thread_id();

// Gives the calling thread its message queue, if it has none yet. Posting to
// a thread fails until it has one; getting or peeking creates it too.
void ensure_message_queue();
bool has_message_queue(ThreadId thread);

// Queues a message for the thread that owns `window` and returns at once. An
// empty window posts a thread message to the calling thread. False when the
// handle names no window.
bool post_message(WindowHandle window, std::uint32_t message, Wparam wparam = 0, Lparam lparam = 0);
// Queues a thread message (empty window). False when the thread has no queue.
bool post_thread_message(
    ThreadId thread, std::uint32_t message, Wparam wparam = 0, Lparam lparam = 0);
// Makes the calling thread's get_message report the end of its loop once no
// posted message is waiting ahead of it.
void post_quit_message(int exit_code);

// Calls the window procedure and returns its result. For a window of another
// thread the message is handed to that thread, which handles it inside its
// next get, peek or send, and the caller waits for it, meanwhile handling
// messages sent to itself. 0 when the handle names no window or the owning
// thread ends before handling it.
Lresult send_message(
    WindowHandle window, std::uint32_t message, Wparam wparam = 0, Lparam lparam = 0);

enum class GetResult {
    Message, // a message was retrieved
    Quit, // the end of the loop: `message` holds WM_QUIT with the exit code in wparam
    Error, // the window filter names no window of the calling thread
};

// Which messages get and peek look at. An empty window takes the calling
// thread's windows and its thread messages; a window takes that window and
// its children. first == last == 0 takes every number, otherwise first to
// last inclusive. Messages outside the filter stay queued in order.
struct MessageFilter {
    WindowHandle window;
    std::uint32_t first { 0 };
    std::uint32_t last { 0 };
};

// Takes the next message for the filter, sleeping until one arrives or a
// timer falls due. Before every look at the queue it handles messages sent
// by other threads and lets the thread's input pump deliver display input.
// Order: posted messages, then the quit request, then WM_PAINT for a shown
// window with an invalid region (see Screen.h), then due window timers. A
// posted WM_QUIT (from post_thread_message) ends the loop like the request.
GetResult get_message(Message& message, const MessageFilter& filter = {});

enum class Peek { Keep, Remove };
// Like get_message without sleeping: false when nothing matches (or the
// filter names no window of the thread). The quit request is reported as a
// WM_QUIT message.
bool peek_message(Message& message, const MessageFilter& filter = {}, Peek mode = Peek::Remove);

// Hands a retrieved message to its window's procedure and returns the result;
// 0 for thread messages and for windows that are gone or not the caller's.
Lresult dispatch_message(const Message& message);

// Installs the display's input pump for the calling thread's queue (nullptr
// removes it). The pump must stay alive until removed.
void set_input_pump(InputPump* pump);

} // namespace platform
