#include "platform/MessageBox.h"

#include "platform/Convert.h"

#include <atomic>
#include <unistd.h>

namespace platform {

namespace {

std::atomic<MessageBoxPresenter> presenter { nullptr };

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

std::vector<MessageBoxAnswer> message_box_answers(MessageBoxButtons buttons)
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

MessageBoxAnswer message_box(const std::u16string& text, const std::u16string& caption,
    MessageBoxButtons buttons, int default_button)
{
    if (MessageBoxPresenter present = presenter.load()) {
        if (auto answer = present(text, caption, buttons, default_button))
            return *answer;
    }
    auto answers = message_box_answers(buttons);
    // One write, unbuffered: the caller may end the process right after.
    write_all(STDERR_FILENO, platform::to_utf8(caption) + ": " + platform::to_utf8(text) + "\n");
    if (default_button < 0 || static_cast<std::size_t>(default_button) >= answers.size())
        default_button = 0;
    return answers[static_cast<std::size_t>(default_button)];
}

void set_message_box_presenter(MessageBoxPresenter installed)
{
    presenter.store(installed);
}

} // namespace platform
