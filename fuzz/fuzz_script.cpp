// Reads arbitrary bytes as a script of user actions: the parser must never
// crash, must name a bad line by a number within the text, and every step
// it returns must be one the player can play without further checks.
#include "platform/screen/ScriptParser.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

using namespace platform::detail;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view text(reinterpret_cast<const char*>(data), size);
    ParsedScript script = parse_script(text);
    std::size_t lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
    if (script.error) {
        if (!script.steps.empty() || script.error->line_number < 1
            || script.error->line_number > lines || script.error->line.empty()
            || describe(*script.error).empty())
            __builtin_trap();
        return 0;
    }
    std::size_t previous = 0;
    for (const ScriptStep& step : script.steps) {
        if (step.line_number <= previous || step.line_number > lines || step.line.empty())
            __builtin_trap();
        previous = step.line_number;
        std::size_t wanted = 0;
        switch (step.action) {
        case ScriptAction::Tap:
        case ScriptAction::Hold:
            wanted = 2;
            break;
        case ScriptAction::Wheel:
            wanted = 3;
            break;
        case ScriptAction::Drag:
            wanted = 4;
            break;
        case ScriptAction::Screenshot:
        case ScriptAction::Dump:
            if (step.file.empty())
                __builtin_trap();
            break;
        default:
            break;
        }
        if (step.numbers.size() != wanted)
            __builtin_trap();
        for (int number : step.numbers) {
            if (number < -32767 || number > 32767)
                __builtin_trap();
        }
    }
    return 0;
}
