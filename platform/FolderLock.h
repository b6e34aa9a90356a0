#pragma once

#include <string>

namespace platform {

// An exclusive flock on a folder, held from construction to destruction:
// processes that change what a folder holds in several steps take it so
// that none sees another's steps half done. Waits without a time limit; a
// folder that cannot be opened gives no lock (is_held() false) and the
// caller goes on unguarded. The kernel drops it when its holder ends. Each
// object opens the folder anew, so a thread must not take a second lock on
// the same folder while it holds one.
class FolderLock {
public:
    explicit FolderLock(const std::string& folder);
    FolderLock(FolderLock&& other) noexcept;
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    FolderLock& operator=(FolderLock&&) = delete;
    ~FolderLock();

    bool is_held() const { return fd_ >= 0; }

private:
    int fd_ { -1 };
};

// Swaps two existing paths (files or folders) in one step, so that there is
// no moment at which either name is missing. False when the file system
// cannot do it; nothing is changed then.
bool exchange_paths(const std::string& a, const std::string& b);

} // namespace platform
