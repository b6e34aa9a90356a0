#pragma once

#include <cstdint>

namespace platform {

// How many playbacks this process has finished: every output device that
// was closed, after its last buffer played or after a reset. The script
// player waits on it for a sound to end. Any thread.
std::uint64_t finished_playbacks();
void count_finished_playback();

} // namespace platform
