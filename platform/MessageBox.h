#pragma once

#include <string>

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
// Until the device screen draws message boxes, the box is written to standard
// error as "caption: text" and answered with its default button at once.
MessageBoxAnswer message_box(const std::u16string& text, const std::u16string& caption,
    MessageBoxButtons buttons = MessageBoxButtons::Ok, int default_button = 0);

} // namespace platform
