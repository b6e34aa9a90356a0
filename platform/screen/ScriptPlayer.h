#pragma once

#include "platform/Screen.h"
#include "platform/screen/ScriptParser.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform::detail {

// Plays the parsed steps of a script (the RINGWISE_SCRIPT format of the
// README) one at a time through the screen's input functions. The screen
// calls step() whenever its thread is idle; a step that fails ends the
// process with exit code 3. User-interface thread only.
class ScriptPlayer {
public:
    // nullptr, with the reason in `error`, when the file cannot be read or
    // one of its lines is bad (then nothing of it plays).
    static std::unique_ptr<ScriptPlayer> open(const std::string& path, std::string& error);

    explicit ScriptPlayer(std::vector<ScriptStep> steps);

    struct Progress {
        // A line was played (input may be waiting in the queue).
        bool played { false };
        bool finished { false };
        // When the player wants to be stepped again at the latest.
        std::optional<std::uint32_t> wake_in;
    };
    Progress step(std::uint32_t now);

private:
    void play(const ScriptStep& step, std::uint32_t now);
    [[noreturn]] void fail(const std::string& reason) const;
    ScriptHost* needs_host() const;

    std::vector<ScriptStep> steps_;
    std::size_t next_ { 0 };
    std::size_t current_ { 0 };
    // A wait, or the held press of `hold` that ends with a release.
    std::optional<std::uint32_t> until_;
    std::optional<Point> release_at_;
    std::optional<std::u16string> form_kind_;
    std::uint32_t form_deadline_ { 0 };
};

// The host that set_script_host installed, nullptr for none.
ScriptHost* script_host();

} // namespace platform::detail
