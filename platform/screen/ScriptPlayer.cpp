#include "platform/screen/ScriptPlayer.h"

#include "platform/Convert.h"
#include "platform/graphics/PngWriter.h"
#include "platform/screen/KeyNames.h"
#include "platform/screen/ScreenInput.h"

#include <atomic>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace platform::detail {

namespace {

std::atomic<ScriptHost*> installed_host { nullptr };

constexpr std::uint32_t HOLD_MILLISECONDS = 600;
// How often a wait-form looks at the active form again.
constexpr std::uint32_t FORM_POLL_MILLISECONDS = 20;
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

bool write_file(const std::string& path, const std::string& text)
{
    std::ofstream file(path, std::ios::binary);
    return (file << text) && file.flush();
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
        if (needs_host()->active_form_kind() != *form_kind_) {
            if (static_cast<std::int32_t>(now - form_deadline_) >= 0)
                fail("timed out waiting for form " + to_utf8(*form_kind_));
            return waiting(FORM_POLL_MILLISECONDS);
        }
        form_kind_.reset();
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
        needs_host();
        form_kind_ = step.name;
        form_deadline_ = now + step.milliseconds;
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
    case ScriptAction::Dump:
        if (!write_file(step.file, needs_host()->dump()))
            fail("cannot write " + step.file);
        break;
    }
}

} // namespace platform::detail

namespace platform {

void set_script_host(ScriptHost* host)
{
    detail::installed_host.store(host);
}

} // namespace platform
