#include "platform/screen/ScriptPlayer.h"

#include "platform/Convert.h"
#include "platform/graphics/PngWriter.h"
#include "platform/screen/DeviceScreen.h"
#include "platform/screen/KeyNames.h"
#include "platform/screen/ScreenInput.h"
#include "platform/screen/ScreenPopupMenu.h"

#include <atomic>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace platform::detail {

namespace {

std::atomic<ScriptHost*> installed_host { nullptr };

constexpr std::uint32_t HOLD_MILLISECONDS = 600;
constexpr std::uint32_t FORM_WAIT_MILLISECONDS = 10000;
// How often a wait-form looks at the active form again.
constexpr std::uint32_t FORM_POLL_MILLISECONDS = 20;
constexpr int DRAG_STEPS = 4;

std::vector<std::string> words_of(const std::string& line)
{
    std::istringstream stream(line);
    std::vector<std::string> words;
    for (std::string word; stream >> word;)
        words.push_back(word);
    return words;
}

std::optional<int> number_of(const std::string& word)
{
    int value = 0;
    auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (error != std::errc() || end != word.data() + word.size())
        return std::nullopt;
    return value;
}

// The rest of the line after the action's name and one space.
std::string rest_of(const std::string& line, const std::string& action)
{
    std::size_t start = line.find(action) + action.size();
    if (start < line.size() && (line[start] == ' ' || line[start] == '\t'))
        ++start;
    std::string rest = line.substr(start);
    while (!rest.empty() && (rest.back() == '\r' || rest.back() == '\n'))
        rest.pop_back();
    return rest;
}

std::string trimmed(const std::string& line)
{
    std::size_t first = line.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    std::size_t last = line.find_last_not_of(" \t\r\n");
    return line.substr(first, last - first + 1);
}

ScriptPlayer::Progress waiting(std::uint32_t milliseconds)
{
    ScriptPlayer::Progress progress;
    progress.wake_in = milliseconds;
    return progress;
}

ScriptPlayer::Progress played()
{
    ScriptPlayer::Progress progress;
    progress.played = true;
    return progress;
}

void tap(Point point)
{
    inject_pointer(PointerAction::Down, PointerButton::Left, point);
    inject_pointer(PointerAction::Up, PointerButton::Left, point);
}

} // namespace

ScriptHost* script_host()
{
    return installed_host.load();
}

std::unique_ptr<ScriptPlayer> ScriptPlayer::open(const std::string& path, std::string& error)
{
    std::ifstream file(path);
    if (!file) {
        error = "cannot read " + path;
        return nullptr;
    }
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);)
        lines.push_back(line);
    return std::unique_ptr<ScriptPlayer>(new ScriptPlayer(std::move(lines)));
}

ScriptPlayer::ScriptPlayer(std::vector<std::string> lines)
    : lines_(std::move(lines))
{
}

void ScriptPlayer::fail(const std::string& reason) const
{
    std::fflush(stdout);
    std::fprintf(stderr, "script: %s: %s\n", trimmed(lines_[current_]).c_str(), reason.c_str());
    std::fflush(stderr);
    _exit(3);
}

ScriptPlayer::Progress ScriptPlayer::step(std::uint32_t now)
{
    if (until_) {
        auto remaining = static_cast<std::int32_t>(*until_ - now);
        if (remaining > 0)
            return waiting(static_cast<std::uint32_t>(remaining));
        until_.reset();
        if (release_at_) {
            inject_pointer(PointerAction::Up, PointerButton::Left, *release_at_);
            release_at_.reset();
            return played();
        }
    }
    if (form_kind_) {
        ScriptHost* host = script_host();
        if (!host)
            fail("no script host");
        if (host->active_form_kind() != *form_kind_) {
            if (static_cast<std::int32_t>(now - form_deadline_) >= 0)
                fail("timed out waiting for form " + to_utf8(*form_kind_));
            return waiting(FORM_POLL_MILLISECONDS);
        }
        form_kind_.reset();
    }
    while (next_ < lines_.size()) {
        current_ = next_++;
        std::string line = trimmed(lines_[current_]);
        if (line.empty() || line[0] == '#')
            continue;
        play(line, now);
        return played();
    }
    Progress finished;
    finished.finished = true;
    return finished;
}

void ScriptPlayer::play(const std::string& line, std::uint32_t now)
{
    std::vector<std::string> words = words_of(line);
    const std::string& action = words[0];
    std::vector<int> numbers;
    bool all_numbers = true;
    for (std::size_t i = 1; i < words.size(); ++i) {
        if (auto number = number_of(words[i]))
            numbers.push_back(*number);
        else
            all_numbers = false;
    }
    auto needs_numbers = [&](std::size_t count) {
        if (!all_numbers || numbers.size() != count)
            fail("expected " + std::to_string(count) + " numbers");
    };
    auto needs_host = [&] {
        ScriptHost* host = script_host();
        if (!host)
            fail("no script host");
        return host;
    };
    auto needs_word = [&] {
        if (words.size() != 2)
            fail("expected one argument");
        return words[1];
    };

    if (action == "wait") {
        needs_numbers(1);
        if (numbers[0] < 0)
            fail("negative wait");
        until_ = now + static_cast<std::uint32_t>(numbers[0]);
    } else if (action == "wait-form") {
        if (words.size() != 2 && words.size() != 3)
            fail("expected a form kind and an optional limit");
        std::uint32_t limit = FORM_WAIT_MILLISECONDS;
        if (words.size() == 3) {
            auto number = number_of(words[2]);
            if (!number || *number < 0)
                fail("bad limit");
            limit = static_cast<std::uint32_t>(*number);
        }
        needs_host();
        form_kind_ = from_utf8(words[1]);
        form_deadline_ = now + limit;
    } else if (action == "tap") {
        needs_numbers(2);
        tap({ numbers[0], numbers[1] });
    } else if (action == "wheel") {
        needs_numbers(3);
        inject_wheel({ numbers[0], numbers[1] }, numbers[2] * WHEEL_DELTA);
    } else if (action == "hold") {
        needs_numbers(2);
        Point point { numbers[0], numbers[1] };
        inject_pointer(PointerAction::Down, PointerButton::Left, point);
        until_ = now + HOLD_MILLISECONDS;
        release_at_ = point;
    } else if (action == "drag") {
        needs_numbers(4);
        Point from { numbers[0], numbers[1] };
        Point to { numbers[2], numbers[3] };
        inject_pointer(PointerAction::Down, PointerButton::Left, from);
        for (int i = 1; i <= DRAG_STEPS; ++i) {
            Point at { from.x + (to.x - from.x) * i / DRAG_STEPS,
                from.y + (to.y - from.y) * i / DRAG_STEPS };
            inject_pointer(PointerAction::Move, PointerButton::None, at);
        }
        inject_pointer(PointerAction::Up, PointerButton::Left, to);
    } else if (action == "tap-control") {
        std::string id = needs_word();
        auto rect = needs_host()->control_rect(from_utf8(id));
        if (!rect)
            fail("no control " + id);
        tap({ (rect->left + rect->right) / 2, (rect->top + rect->bottom) / 2 });
    } else if (action == "key" || action == "keydown" || action == "keyup") {
        std::string name = needs_word();
        auto key = virtual_key_named(name);
        if (!key)
            fail("unknown key " + name);
        if (action != "keyup") {
            inject_key(*key, true);
            if (char16_t character = character_of_key(*key, is_key_down(VK_SHIFT)))
                inject_text(std::u16string(1, character));
        }
        if (action != "keydown")
            inject_key(*key, false);
    } else if (action == "text") {
        std::u16string text = from_utf8(rest_of(line, action));
        // Typed one character at a time; a character outside the basic
        // plane arrives as a composition of its two units.
        for (std::size_t i = 0; i < text.size(); ++i) {
            bool pair = text[i] >= 0xD800 && text[i] < 0xDC00 && i + 1 < text.size();
            inject_text(std::u16string_view(text).substr(i, pair ? 2 : 1));
            if (pair)
                ++i;
        }
    } else if (action == "command") {
        std::string name = needs_word();
        if (!needs_host()->command(from_utf8(name)))
            fail("no form takes the command " + name);
    } else if (action == "screenshot") {
        std::string path = rest_of(line, action);
        if (path.empty())
            fail("expected a file name");
        if (!write_png(capture_screen(), path))
            fail("cannot write " + path);
    } else if (action == "dump") {
        std::string path = rest_of(line, action);
        if (path.empty())
            fail("expected a file name");
        std::string text = needs_host()->dump();
        if (const ScreenPopupMenu* popup = DeviceScreen::instance().popup())
            text += popup->describe();
        std::ofstream file(path, std::ios::binary);
        if (!(file << text) || !file.flush())
            fail("cannot write " + path);
    } else {
        fail("unknown action " + action);
    }
}

} // namespace platform::detail

namespace platform {

void set_script_host(ScriptHost* host)
{
    detail::installed_host.store(host);
}

} // namespace platform
