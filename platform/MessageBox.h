#pragma once

#include <optional>
#include <string>
#include <vector>

namespace platform {

// The buttons of a message box, and the answers, numbered as the device
// numbers them.
enum class MessageBoxButtons {
    Ok = 0,
    OkCancel = 1,
    AbortRetryIgnore = 2,
    YesNoCancel = 3,
    YesNo = 4,
    RetryCancel = 5,
};

enum class MessageBoxAnswer {
    Ok = 1,
    Cancel = 2,
    Abort = 3,
    Retry = 4,
    Ignore = 5,
    Yes = 6,
    No = 7,
};

// Shows a modal message box with `text` under the title `caption` and waits
// for the user's answer. `default_button` counts the buttons from the left.
//
// The device screen draws the box, when it shows an SDL window and the
// caller is its user-interface thread, and runs a nested message loop until
// the user answers. Otherwise (no screen yet, headless, another thread) the
// box is written to standard error as "caption: text" and answered with its
// default button at once.
MessageBoxAnswer message_box(const std::u16string& text, const std::u16string& caption,
    MessageBoxButtons buttons = MessageBoxButtons::Ok, int default_button = 0);

// The answers a box of these buttons offers, left to right.
std::vector<MessageBoxAnswer> message_box_answers(MessageBoxButtons buttons);

// Draws a message box and waits for its answer; nullopt when it cannot, so
// that message_box writes it to standard error instead. The screen installs
// one, so that this library needs no display.
using MessageBoxPresenter = std::optional<MessageBoxAnswer> (*)(const std::u16string& text,
    const std::u16string& caption, MessageBoxButtons buttons, int default_button);
void set_message_box_presenter(MessageBoxPresenter presenter);

} // namespace platform
