#pragma once

#include <cstdint>

// The steps of a recognition run, in the order a run passes them.
enum class RunState : std::int32_t {
    Starting = 0,
    Listening = 1,
    Processing = 2,
    Rejected = 3,
    Accepted = 4,
    PlayingCommand = 5,
    AwaitingConfirmation = 6,
    Closing = 7,
};
