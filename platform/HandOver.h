#pragma once

#include <atomic>
#include <string>
#include <thread>

namespace platform {

// The copy-data hand-over between two processes of one user whose windows
// share a class name: the first process listens on a Unix socket in the
// abstract namespace named after the class, the user id and the folder of
// the class's instance lock (it vanishes with its process, so nothing stale
// is left behind); a later process connects,
// sends its command line and waits until the first has handled it.
//
// Sends `text` to the process listening for `class_name` and waits until its
// window has handled the WM_COPYDATA message. True when a process listened
// and had a top-level window of that class to give the text to.
bool hand_over(const std::u16string& class_name, const std::u16string& text);

// The first process's end: a thread that accepts hand-overs and delivers
// each, with send_message and so on the window's own thread, as WM_COPYDATA
// (tag 0, the text's UTF-16 code units without terminator) to the first
// top-level window whose class name is `class_name`. Built and destroyed on
// the user-interface thread.
class HandOverListener {
public:
    explicit HandOverListener(std::u16string class_name);
    HandOverListener(const HandOverListener&) = delete;
    HandOverListener& operator=(const HandOverListener&) = delete;
    ~HandOverListener();

    // False when the name is taken (a process of the class is still ending)
    // or no socket could be made.
    bool is_listening() const { return socket_ >= 0; }

private:
    void run();
    void serve(int connection);

    std::u16string class_name_;
    int socket_ { -1 };
    int wake_[2] { -1, -1 };
    std::atomic<bool> finished_ { false };
    std::thread thread_;
};

} // namespace platform
