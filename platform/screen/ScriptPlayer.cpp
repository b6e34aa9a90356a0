#include "platform/screen/ScriptPlayer.h"

#include "platform/Convert.h"
#include "platform/PlaybackCount.h"
#include "platform/graphics/PngWriter.h"
#include "platform/screen/DeviceScreen.h"
#include "platform/screen/KeyNames.h"
#include "platform/screen/ScreenInput.h"
#include "platform/screen/ScreenPopupMenu.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace platform::detail {

namespace {

std::atomic<ScriptHost*> installed_host { nullptr };

constexpr std::uint32_t HOLD_MILLISECONDS = 600;
// How often a wait for an event looks again.
constexpr std::uint32_t POLL_MILLISECONDS = 20;
constexpr int DRAG_STEPS = 4;

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

// Written beside its name and renamed, so that whoever waits for the file
// (another process, a test) never reads half of it.
bool write_file(const std::string& path, const std::string& text)
{
    std::string part = path + ".part";
    {
        std::ofstream file(part, std::ios::binary);
        if (!(file << text) || !file.flush())
            return false;
    }
    std::error_code error;
    std::filesystem::rename(part, path, error);
    if (!error)
        return true;
    std::filesystem::remove(part, error);
    return false;
}

} // namespace

ScriptHost* script_host()
{
    return installed_host.load();
}

std::unique_ptr<ScriptPlayer> ScriptPlayer::open(const std::string& path, std::string& error)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = path + ": cannot read the file";
        return nullptr;
    }
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad()) {
        error = path + ": cannot read the file";
        return nullptr;
    }
    ParsedScript script = parse_script(text);
    if (script.error) {
        error = describe(*script.error);
        return nullptr;
    }
    return std::make_unique<ScriptPlayer>(std::move(script.steps));
}

ScriptPlayer::ScriptPlayer(std::vector<ScriptStep> steps)
    : steps_(std::move(steps))
    , sounds_before_(finished_playbacks())
{
}

void ScriptPlayer::fail(const std::string& reason) const
{
    const ScriptStep& step = steps_[current_];
    std::string text = describe({ step.line_number, step.line, reason });
    std::fflush(stdout);
    std::fprintf(stderr, "script: %s\n", text.c_str());
    std::fflush(stderr);
    _exit(3);
}

ScriptHost* ScriptPlayer::needs_host() const
{
    ScriptHost* host = script_host();
    if (!host)
        fail("no script host");
    return host;
}

bool ScriptPlayer::has_come(const ScriptStep& step, std::string& seen) const
{
    switch (step.action) {
    case ScriptAction::WaitForm:
        return needs_host()->active_form_kind() == step.name;
    case ScriptAction::WaitUntil: {
        auto fields = control_fields(needs_host()->dump(), to_utf8(step.name));
        if (!fields) {
            seen = "no such control";
            return false;
        }
        seen = "it shows " + *fields;
        return std::all_of(step.conditions.begin(), step.conditions.end(),
            [&](const ScriptCondition& condition) { return condition.holds(*fields); });
    }
    case ScriptAction::WaitFile: {
        std::error_code error;
        return std::filesystem::exists(step.file, error);
    }
    case ScriptAction::WaitSounds: {
        std::uint64_t ended = finished_playbacks() - sounds_before_;
        seen = std::to_string(ended) + " ended";
        return ended >= step.count;
    }
    default:
        return true;
    }
}

void ScriptPlayer::time_out(const ScriptStep& step, const std::string& seen) const
{
    std::string what;
    switch (step.action) {
    case ScriptAction::WaitForm:
        what = "form " + to_utf8(step.name);
        break;
    case ScriptAction::WaitUntil:
        what = to_utf8(step.name);
        for (const ScriptCondition& condition : step.conditions)
            what += " " + condition.text();
        break;
    case ScriptAction::WaitFile:
        what = step.file;
        break;
    default:
        what = std::to_string(step.count) + " sounds";
        break;
    }
    fail("timed out waiting for " + what + (seen.empty() ? "" : "; " + seen));
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
    if (awaited_) {
        std::string seen;
        if (!has_come(*awaited_, seen)) {
            if (static_cast<std::int32_t>(now - deadline_) >= 0)
                time_out(*awaited_, seen);
            return waiting(POLL_MILLISECONDS);
        }
        awaited_ = nullptr;
    }
    if (next_ < steps_.size()) {
        current_ = next_++;
        play(steps_[current_], now);
        return played();
    }
    Progress finished;
    finished.finished = true;
    return finished;
}

void ScriptPlayer::play(const ScriptStep& step, std::uint32_t now)
{
    const std::vector<int>& n = step.numbers;
    switch (step.action) {
    case ScriptAction::Wait:
        until_ = now + step.milliseconds;
        break;
    case ScriptAction::WaitForm:
    case ScriptAction::WaitUntil:
        needs_host();
        [[fallthrough]];
    case ScriptAction::WaitFile:
    case ScriptAction::WaitSounds:
        // Looked at from the next step on, once the queue is idle again.
        awaited_ = &step;
        deadline_ = now + step.milliseconds;
        break;
    case ScriptAction::Tap:
        tap({ n[0], n[1] });
        break;
    case ScriptAction::Wheel:
        inject_wheel({ n[0], n[1] }, n[2] * WHEEL_DELTA);
        break;
    case ScriptAction::Hold: {
        Point point { n[0], n[1] };
        inject_pointer(PointerAction::Down, PointerButton::Left, point);
        until_ = now + HOLD_MILLISECONDS;
        release_at_ = point;
        break;
    }
    case ScriptAction::Drag: {
        Point from { n[0], n[1] };
        Point to { n[2], n[3] };
        inject_pointer(PointerAction::Down, PointerButton::Left, from);
        for (int i = 1; i <= DRAG_STEPS; ++i) {
            Point at { from.x + (to.x - from.x) * i / DRAG_STEPS,
                from.y + (to.y - from.y) * i / DRAG_STEPS };
            inject_pointer(PointerAction::Move, PointerButton::None, at);
        }
        inject_pointer(PointerAction::Up, PointerButton::Left, to);
        break;
    }
    case ScriptAction::TapControl: {
        auto rect = needs_host()->control_rect(step.name);
        if (!rect)
            fail("no control " + to_utf8(step.name));
        tap({ (rect->left + rect->right) / 2, (rect->top + rect->bottom) / 2 });
        break;
    }
    case ScriptAction::Key:
    case ScriptAction::KeyDown:
    case ScriptAction::KeyUp:
        if (step.action != ScriptAction::KeyUp) {
            inject_key(step.key, true);
            if (char16_t character = character_of_key(step.key, is_key_down(VK_SHIFT)))
                inject_text(std::u16string(1, character));
        }
        if (step.action != ScriptAction::KeyDown)
            inject_key(step.key, false);
        break;
    case ScriptAction::Text: {
        const std::u16string& text = step.name;
        // Typed one character at a time; a character outside the basic
        // plane arrives as a composition of its two units.
        for (std::size_t i = 0; i < text.size(); ++i) {
            bool pair = text[i] >= 0xD800 && text[i] < 0xDC00 && i + 1 < text.size();
            inject_text(std::u16string_view(text).substr(i, pair ? 2 : 1));
            if (pair)
                ++i;
        }
        break;
    }
    case ScriptAction::Command:
        if (!needs_host()->command(step.name))
            fail("no form takes the command " + to_utf8(step.name));
        break;
    case ScriptAction::Screenshot:
        if (!write_png(capture_screen(), step.file))
            fail("cannot write " + step.file);
        break;
    case ScriptAction::Dump: {
        std::string text = needs_host()->dump();
        if (const ScreenPopupMenu* popup = DeviceScreen::instance().popup())
            text += popup->describe();
        if (!write_file(step.file, text))
            fail("cannot write " + step.file);
    } break;
    }
}

} // namespace platform::detail

namespace platform {

void set_script_host(ScriptHost* host)
{
    detail::installed_host.store(host);
}

} // namespace platform
