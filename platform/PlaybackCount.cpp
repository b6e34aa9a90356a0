#include "platform/PlaybackCount.h"

#include <atomic>

namespace platform {

namespace {

std::atomic<std::uint64_t> finished { 0 };

} // namespace

std::uint64_t finished_playbacks()
{
    return finished.load();
}

void count_finished_playback()
{
    finished.fetch_add(1);
}

} // namespace platform
