#include "os/Application.h"

#include "os/Assertion.h"
#include "os/Log.h"
#include "platform/Convert.h"
#include "platform/Tick.h"

#include <string>

namespace os {

namespace {

void log_progress(int step)
{
    log() << platform::from_utf8(std::to_string(platform::tick_count()))
          << u" Application::~Application " << step << u"\n";
}

} // namespace

Application::Application(std::uintptr_t instance_handle)
    : instance_handle_(instance_handle)
{
    if (instance_)
        report_assertion(u"Application::Application", u"instance != 0");
    instance_ = this;
    scheduler_ = std::make_unique<CActiveScheduler>();
}

Application::~Application()
{
    // Hand-overs stop before the scheduler's window goes.
    listener_.reset();
    log_progress(1);
    scheduler_.reset();
    log_progress(2);
    lock_.release();
    log_progress(3);
    log_progress(4);
    instance_ = nullptr;
}

bool Application::check_previous_instance(
    const std::u16string& command_line, const std::u16string& application_name)
{
    window_class_ = u"SkinnerClass_" + application_name;
    if (window_class_.size() > MAX_CLASS_NAME)
        report_assertion(u"Application::Application", u"Application name is too long. Sorry.");
    // Without a lock this process runs as if it were the only one.
    if (!lock_.acquire(window_class_))
        return false;
    command_line_ = command_line;
    found_ = platform::hand_over(window_class_, command_line_);
    if (!found_)
        listener_ = std::make_unique<platform::HandOverListener>(window_class_);
    return found_;
}

void Application::release_instance_lock()
{
    lock_.release();
}

} // namespace os
