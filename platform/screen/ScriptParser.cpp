#include "platform/screen/ScriptParser.h"

#include "platform/Convert.h"
#include "platform/screen/KeyNames.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <utility>

namespace platform::detail {

namespace {

constexpr std::uint32_t FORM_WAIT_MILLISECONDS = 10000;
// Screen coordinates travel in 16-bit words of a message; beyond them no
// point is on any screen, and the drag's steps stay far from overflow.
constexpr int COORDINATE_LIMIT = 32767;
// A notch is WHEEL_DELTA (120) in a 16-bit signed word.
constexpr int NOTCH_LIMIT = 273;

constexpr std::string_view BLANKS = " \t\n\v\f\r";

std::string_view trimmed(std::string_view line)
{
    std::size_t first = line.find_first_not_of(BLANKS);
    if (first == std::string_view::npos)
        return {};
    std::size_t last = line.find_last_not_of(BLANKS);
    return line.substr(first, last - first + 1);
}

std::vector<std::string_view> words_of(std::string_view line)
{
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while ((at = line.find_first_not_of(BLANKS, at)) != std::string_view::npos) {
        std::size_t end = line.find_first_of(BLANKS, at);
        if (end == std::string_view::npos)
            end = line.size();
        words.push_back(line.substr(at, end - at));
        at = end;
    }
    return words;
}

std::optional<int> number_of(std::string_view word)
{
    int value = 0;
    auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (error != std::errc() || end != word.data() + word.size())
        return std::nullopt;
    return value;
}

// The rest of a (trimmed) line after the action's name and one blank.
std::string_view rest_of(std::string_view line, std::string_view action)
{
    std::size_t start = action.size();
    if (start < line.size() && (line[start] == ' ' || line[start] == '\t'))
        ++start;
    return line.substr(start);
}

constexpr std::array<std::pair<std::string_view, ScriptAction>, 14> ACTIONS { {
    { "wait", ScriptAction::Wait },
    { "wait-form", ScriptAction::WaitForm },
    { "tap", ScriptAction::Tap },
    { "wheel", ScriptAction::Wheel },
    { "hold", ScriptAction::Hold },
    { "drag", ScriptAction::Drag },
    { "tap-control", ScriptAction::TapControl },
    { "key", ScriptAction::Key },
    { "keydown", ScriptAction::KeyDown },
    { "keyup", ScriptAction::KeyUp },
    { "text", ScriptAction::Text },
    { "command", ScriptAction::Command },
    { "screenshot", ScriptAction::Screenshot },
    { "dump", ScriptAction::Dump },
} };

// Fills the step from its line's words; the reason when they do not fit.
std::optional<std::string> read_step(
    ScriptStep& step, std::string_view line, const std::vector<std::string_view>& words)
{
    std::string_view action = words[0];
    auto known = std::find_if(
        ACTIONS.begin(), ACTIONS.end(), [&](const auto& entry) { return entry.first == action; });
    if (known == ACTIONS.end())
        return "unknown action " + std::string(action);
    step.action = known->second;

    auto numbers = [&](std::size_t count, int limit) -> std::optional<std::string> {
        if (words.size() != count + 1)
            return "expected " + std::to_string(count) + " numbers";
        for (std::size_t i = 1; i < words.size(); ++i) {
            auto number = number_of(words[i]);
            if (!number)
                return "expected " + std::to_string(count) + " numbers";
            if (*number < -limit || *number > limit)
                return "out of range: " + std::string(words[i]);
            step.numbers.push_back(*number);
        }
        return std::nullopt;
    };
    auto one_word = [&]() -> std::optional<std::string> {
        if (words.size() != 2)
            return "expected one argument";
        step.name = from_utf8(words[1]);
        return std::nullopt;
    };
    auto file_name = [&]() -> std::optional<std::string> {
        step.file = std::string(rest_of(line, action));
        if (step.file.empty())
            return "expected a file name";
        return std::nullopt;
    };

    switch (step.action) {
    case ScriptAction::Wait: {
        if (words.size() != 2 || !number_of(words[1]))
            return "expected 1 numbers";
        int milliseconds = *number_of(words[1]);
        if (milliseconds < 0)
            return "negative wait";
        step.milliseconds = static_cast<std::uint32_t>(milliseconds);
        return std::nullopt;
    }
    case ScriptAction::WaitForm: {
        if (words.size() != 2 && words.size() != 3)
            return "expected a form kind and an optional limit";
        step.name = from_utf8(words[1]);
        step.milliseconds = FORM_WAIT_MILLISECONDS;
        if (words.size() == 3) {
            auto limit = number_of(words[2]);
            if (!limit || *limit < 0)
                return "bad limit";
            step.milliseconds = static_cast<std::uint32_t>(*limit);
        }
        return std::nullopt;
    }
    case ScriptAction::Tap:
    case ScriptAction::Hold:
        return numbers(2, COORDINATE_LIMIT);
    case ScriptAction::Drag:
        return numbers(4, COORDINATE_LIMIT);
    case ScriptAction::Wheel:
        if (auto reason = numbers(3, COORDINATE_LIMIT))
            return reason;
        if (step.numbers[2] < -NOTCH_LIMIT || step.numbers[2] > NOTCH_LIMIT)
            return "out of range: " + std::string(words[3]);
        return std::nullopt;
    case ScriptAction::TapControl:
    case ScriptAction::Command:
        return one_word();
    case ScriptAction::Key:
    case ScriptAction::KeyDown:
    case ScriptAction::KeyUp: {
        if (words.size() != 2)
            return "expected one argument";
        auto key = virtual_key_named(words[1]);
        if (!key)
            return "unknown key " + std::string(words[1]);
        step.key = *key;
        return std::nullopt;
    }
    case ScriptAction::Text:
        step.name = from_utf8(rest_of(line, action));
        return std::nullopt;
    case ScriptAction::Screenshot:
    case ScriptAction::Dump:
        return file_name();
    }
    return "unknown action " + std::string(action);
}

} // namespace

std::string describe(const ScriptError& error)
{
    return error.line + ": " + error.reason + " (line " + std::to_string(error.line_number) + ")";
}

ParsedScript parse_script(std::string_view text)
{
    ParsedScript script;
    std::size_t line_number = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = trimmed(text.substr(at, end - at));
        at = end + 1;
        ++line_number;
        if (line.empty() || line[0] == '#')
            continue;
        ScriptStep step;
        step.line_number = line_number;
        step.line = std::string(line);
        if (auto reason = read_step(step, line, words_of(line))) {
            script.steps.clear();
            script.error = ScriptError { line_number, std::string(line), *reason };
            return script;
        }
        script.steps.push_back(std::move(step));
    }
    return script;
}

} // namespace platform::detail
