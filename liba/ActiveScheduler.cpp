#include "liba/ActiveScheduler.h"

#include "liba/Active.h"
#include "liba/Assertion.h"
#include "liba/TimerImpl.h"
#include "platform/MessageQueue.h"
#include "platform/Tick.h"
#include "platform/Window.h"
#include "platform/WindowTimers.h"

#include <algorithm>
#include <atomic>
#include <vector>

struct CActiveSchedulerImpl {
    // One entry per outstanding request, in the order of set_active.
    std::vector<CActive*> actives;
    // Completions taken out of the queue by a cancel and not yet run.
    std::vector<CActive*> pending_actives;
    // Running timers, in the order of start.
    std::vector<liba::Timer::Impl*> timers;
    platform::WindowHandle window;
};

namespace {

std::atomic<CActiveScheduler*> current_scheduler { nullptr };

template<typename T> void erase_all(std::vector<T*>& list, const T* item)
{
    std::erase_if(list, [&](const T* entry) { return entry == item; });
}

} // namespace

CActiveScheduler::CActiveScheduler()
{
    CActiveScheduler* none = nullptr;
    current_scheduler.compare_exchange_strong(none, this);

    platform::register_window_class(platform::WindowClass { u"CActiveSchedulerClass",
        platform::CS_VREDRAW | platform::CS_HREDRAW | platform::CS_DBLCLKS, &window_procedure });
    platform::WindowCreate create;
    create.ex_style = 0;
    create.class_name = u"CActiveSchedulerClass";
    create.title = u"CActiveScheduler";
    create.style = platform::WS_POPUP;
    create.x = platform::CW_USEDEFAULT;
    create.y = 0;
    create.width = platform::CW_USEDEFAULT;
    create.height = 0;
    CActiveSchedulerImpl& state = impl_.impl();
    state.window = platform::create_window(create);
    platform::set_window_user_data(state.window, this);
}

CActiveScheduler::~CActiveScheduler()
{
    CActiveSchedulerImpl& state = impl_.impl();
    if (!state.actives.empty())
        liba::report_assertion(
            u"", u"Some active objects still live while scheduler is terminating");
    if (state.window) {
        platform::set_window_user_data(state.window, nullptr);
        platform::destroy_window(state.window);
    }
    CActiveScheduler* self = this;
    current_scheduler.compare_exchange_strong(self, nullptr);
}

CActiveScheduler* CActiveScheduler::instance()
{
    return current_scheduler.load();
}

platform::WindowHandle CActiveScheduler::window() const
{
    return impl_.impl().window;
}

void CActiveScheduler::set_active(CActive& object)
{
    if (object.is_active())
        liba::report_assertion(u"CActiveScheduler::set_active", u"Object is already active");
    object.active.store(true, std::memory_order_release);
    impl_.impl().actives.push_back(&object);
}

void CActiveScheduler::notify(const CActive& object)
{
    if (!object.is_active())
        liba::report_assertion(u"CActiveScheduler::notify()", u"Active object is not active");
    platform::post_message(
        impl_.impl().window, COMPLETION_MESSAGE, reinterpret_cast<platform::Wparam>(&object), 0);
}

void CActiveScheduler::cancel(CActive& object)
{
    CActiveSchedulerImpl& state = impl_.impl();
    object.do_cancel();

    auto pending = std::find(state.pending_actives.begin(), state.pending_actives.end(), &object);
    if (pending != state.pending_actives.end()) {
        state.pending_actives.erase(pending);
        object.active.store(false, std::memory_order_release);
        erase_all(state.actives, &object);
        return;
    }

    // Only completions for the hidden window are taken; every other message
    // stays queued, undispatched, until the loop gets it.
    const platform::MessageFilter completions { state.window, COMPLETION_MESSAGE,
        COMPLETION_MESSAGE };
    for (;;) {
        platform::Message message;
        platform::GetResult result = platform::get_message(message, completions);
        if (result != platform::GetResult::Message) {
            // The loop is ending (or the hidden window is gone): stop
            // waiting. The object's do_cancel() has stopped its request, so
            // it is left inactive and may be destroyed; the quit is put back
            // for the loop that called us, which must end too.
            if (result == platform::GetResult::Quit)
                platform::post_quit_message(static_cast<int>(message.wparam));
            object.active.store(false, std::memory_order_release);
            erase_all(state.actives, &object);
            break;
        }
        auto* completed = reinterpret_cast<CActive*>(message.wparam);
        if (completed == &object) {
            object.active.store(false, std::memory_order_release);
            erase_all(state.actives, &object);
            break;
        }
        if (!completed->is_active())
            liba::report_assertion(u"CActiveScheduler::cancel",
                u"Object to be added to pending_actives is not marked as active");
        state.pending_actives.push_back(completed);
    }

    while (!state.pending_actives.empty()) {
        CActive* next = state.pending_actives.front();
        state.pending_actives.erase(state.pending_actives.begin());
        process_actives(next);
    }
}

bool CActiveScheduler::process_actives(CActive* object)
{
    std::vector<CActive*>& actives = impl_.impl().actives;
    auto found = std::find(actives.begin(), actives.end(), object);
    if (found == actives.end())
        liba::report_assertion(
            u"CActiveScheduler::process_actives()", u"Active object is not in active list");
    if (!object->is_active())
        liba::report_assertion(
            u"CActiveScheduler::process_actives()", u"Active object is not marked active");
    object->active.store(false, std::memory_order_release);
    actives.erase(found);
    object->run();
    return true;
}

void CActiveScheduler::add_timer(liba::Timer::Impl* timer)
{
    impl_.impl().timers.push_back(timer);
}

void CActiveScheduler::remove_timer(liba::Timer::Impl* timer)
{
    erase_all(impl_.impl().timers, timer);
}

void CActiveScheduler::timer_scan()
{
    CActiveSchedulerImpl& state = impl_.impl();
    platform::kill_timer(state.window, TIMER_ID);
    std::uint32_t now = platform::tick_count();
    std::int32_t shortest = NO_TIMER;
    bool waiting = false;
    for (liba::Timer::Impl* timer : state.timers) {
        auto remaining = static_cast<std::int32_t>(timer->due - now);
        if (remaining > 0) {
            shortest = std::min(shortest, remaining);
            waiting = true;
        } else if (!timer->completion_posted) {
            timer->completion_posted = true;
            notify(*timer);
        }
    }
    // A timer further away than the longest wait is reached through a scan
    // after that wait, rather than never.
    if (waiting)
        platform::set_timer(state.window, TIMER_ID, static_cast<std::uint32_t>(shortest));
}

platform::Lresult CActiveScheduler::window_procedure(platform::WindowHandle window,
    std::uint32_t message, platform::Wparam wparam, platform::Lparam lparam)
{
    auto* scheduler = static_cast<CActiveScheduler*>(platform::window_user_data(window));
    if (scheduler) {
        if (message == COMPLETION_MESSAGE)
            scheduler->process_actives(reinterpret_cast<CActive*>(wparam));
        else if (message == platform::WM_TIMER)
            scheduler->timer_scan();
    }
    return platform::default_window_procedure(window, message, wparam, lparam);
}
