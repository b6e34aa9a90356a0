#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::detail {

enum class ScriptAction {
    Wait,
    WaitForm,
    Tap,
    Wheel,
    Hold,
    Drag,
    TapControl,
    Key,
    KeyDown,
    KeyUp,
    Text,
    Command,
    Screenshot,
    Dump,
};

// One line of a script, checked and ready to play. Which fields an action
// uses: numbers for the pointer actions (points, then the wheel's notches),
// milliseconds for the waits, name for a form kind, control id, command or
// typed text, file for a screenshot or dump, key for the key actions.
struct ScriptStep {
    ScriptAction action { ScriptAction::Wait };
    // Where the line stands in the file, from 1, and the line as written
    // without its surrounding blanks: what a failure names.
    std::size_t line_number { 0 };
    std::string line;
    std::vector<int> numbers;
    std::uint32_t milliseconds { 0 };
    std::u16string name;
    std::string file;
    int key { 0 };
};

struct ScriptError {
    std::size_t line_number { 0 };
    std::string line;
    std::string reason;
};

// "LINE: REASON (line N)", as the player reports a line that failed.
std::string describe(const ScriptError& error);

struct ParsedScript {
    std::vector<ScriptStep> steps;
    // The first bad line; no steps are returned with it.
    std::optional<ScriptError> error;
};

// Reads a script's text (the RINGWISE_SCRIPT format of the README): lines
// end with LF or CR LF, blank lines and lines starting with '#' are skipped.
// Any bytes are accepted; a line the player could not play (an unknown
// action, a missing or malformed argument, a coordinate off every screen)
// is an error.
ParsedScript parse_script(std::string_view text);

} // namespace platform::detail
