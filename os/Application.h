#pragma once

#include "liba/ActiveScheduler.h"
#include "liba/Nocopy.h"
#include "platform/HandOver.h"
#include "platform/InstanceLock.h"

#include <cstdint>
#include <memory>
#include <string>

namespace os {

// The process object, one per process and reachable through instance():
// COM for the main thread (nothing to do here), the user-interface thread's
// scheduler, and the single instance of the program's mode. Built and
// destroyed on the user-interface thread.
//
// The instance lock is held from check_previous_instance() until the mode's
// form exists (release_instance_lock()), so that a second process of the
// mode finds the first one's form when it hands its command line over.
class Application : liba::Nocopy {
public:
    // The longest window class name ("SkinnerClass_" and the application name).
    static constexpr std::size_t MAX_CLASS_NAME = 38;

    explicit Application(std::uintptr_t instance_handle);
    ~Application();

    static Application* instance() { return instance_; }
    std::uintptr_t instance_handle() const { return instance_handle_; }
    CActiveScheduler& scheduler() { return *scheduler_; }

    // Waits for the mode's instance lock, then hands the command line to a
    // running process of the mode. True when one took it: this process then
    // shows nothing and ends. Otherwise this process is the first and
    // listens for later ones.
    bool check_previous_instance(
        const std::u16string& command_line, const std::u16string& application_name);
    void release_instance_lock();

    // "SkinnerClass_" + the application name, once check_previous_instance ran.
    const std::u16string& window_class() const { return window_class_; }
    const std::u16string& command_line() const { return command_line_; }
    bool found() const { return found_; }

private:
    static inline Application* instance_ = nullptr;

    std::uintptr_t instance_handle_;
    std::unique_ptr<CActiveScheduler> scheduler_;
    std::u16string window_class_;
    std::u16string command_line_;
    bool found_ { false };
    platform::InstanceLock lock_;
    std::unique_ptr<platform::HandOverListener> listener_;
};

} // namespace os
