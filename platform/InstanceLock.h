#pragma once

#include <string>

namespace platform {

// A lock that one process of the user holds at a time, named like a window
// class: an flock on "NAME.lock" in $XDG_RUNTIME_DIR (else the temporary
// folder). The kernel drops the lock when its holder ends, so a process that
// crashed never blocks the next start. The holder removes the file when it
// lets go, so nothing is left after a normal end. Owned by one thread.
class InstanceLock {
public:
    InstanceLock() = default;
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;
    ~InstanceLock() { release(); }

    // Opens (or creates) the lock file and waits for the lock without a time
    // limit. False when the file cannot be opened or locked.
    bool acquire(const std::u16string& name);
    void release();
    bool is_held() const { return fd_ >= 0; }

    // The lock file of a name.
    static std::string path_of(const std::u16string& name);

private:
    int fd_ { -1 };
    std::string path_;
};

} // namespace platform
