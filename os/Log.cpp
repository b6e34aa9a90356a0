#include "os/Log.h"

#include "liba/TextOStreamEmpty.h"
#include "os/Assertion.h"
#include "os/Registry.h"

#include <memory>

namespace os {

namespace {

// What log() hands out: the current stream behind the lock that guards the
// switch-over. The look-up of the switch is under the lock too, so that a
// thread holding an older reading cannot undo a newer thread's switch (which
// would empty the file again at the next line).
class LogSwitch final : public liba::TextOStream<char16_t> {
public:
    void update()
    {
        liba::Lock lock(section_);
        std::uint32_t value = 0;
        read_registry_number(LOG_SWITCH_KEY, LOG_SWITCH_VALUE, value);
        bool on = value != 0;
        if (current_ && on == is_file_)
            return;
        // The old file is closed before the new one empties the same path.
        current_.reset();
        if (on)
            current_ = std::make_unique<Log<char16_t>>(LOG_FILE);
        else
            current_ = std::make_unique<liba::TextOStreamEmpty<char16_t>>();
        is_file_ = on;
    }

    void write(const char16_t* begin, const char16_t* end) override
    {
        liba::Lock lock(section_);
        if (current_)
            current_->write(begin, end);
    }

    void flush() override
    {
        liba::Lock lock(section_);
        if (current_)
            current_->flush();
    }

private:
    liba::CriticalSection section_;
    std::unique_ptr<liba::TextOStream<char16_t>> current_;
    bool is_file_ { false };
};

// Every program that has the log writes its broken rules to it, also those
// that liba reports before any part of os has been called.
[[maybe_unused]] const bool assertions_logged = (install_assertion_log(), true);

LogSwitch& log_switch()
{
    // Never destroyed: destructors of other static objects may still log.
    static LogSwitch* instance = new LogSwitch;
    return *instance;
}

} // namespace

liba::TextOStream<char16_t>& log()
{
    LogSwitch& state = log_switch();
    state.update();
    return state;
}

} // namespace os
