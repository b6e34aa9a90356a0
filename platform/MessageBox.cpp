#include "platform/MessageBox.h"

#include "platform/Convert.h"

#include <unistd.h>
#include <vector>

namespace platform {

namespace {

std::vector<MessageBoxAnswer> answers_of(MessageBoxButtons buttons)
{
    using A = MessageBoxAnswer;
    switch (buttons) {
    case MessageBoxButtons::OkCancel:
        return { A::Ok, A::Cancel };
    case MessageBoxButtons::AbortRetryIgnore:
        return { A::Abort, A::Retry, A::Ignore };
    case MessageBoxButtons::YesNoCancel:
        return { A::Yes, A::No, A::Cancel };
    case MessageBoxButtons::YesNo:
        return { A::Yes, A::No };
    case MessageBoxButtons::RetryCancel:
        return { A::Retry, A::Cancel };
    case MessageBoxButtons::Ok:
        break;
    }
    return { A::Ok };
}

void write_all(int fd, const std::string& text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n <= 0)
            return;
        done += static_cast<std::size_t>(n);
    }
}

} // namespace

MessageBoxAnswer message_box(const std::u16string& text, const std::u16string& caption,
    MessageBoxButtons buttons, int default_button)
{
    auto answers = answers_of(buttons);
    // One write, unbuffered: the caller may end the process right after.
    write_all(STDERR_FILENO, platform::to_utf8(caption) + ": " + platform::to_utf8(text) + "\n");
    if (default_button < 0 || static_cast<std::size_t>(default_button) >= answers.size())
        default_button = 0;
    return answers[static_cast<std::size_t>(default_button)];
}

} // namespace platform
