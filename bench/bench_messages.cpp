// Window messages, the active scheduler and timers: what one message, one
// completion and one timer cost, and what an idle message loop costs.

#include "liba/Active.h"
#include "liba/ActiveScheduler.h"
#include "liba/Event.h"
#include "liba/Timer.h"
#include "platform/MessageQueue.h"
#include "platform/Window.h"
#include "platform/WindowTimers.h"

#include <benchmark/benchmark.h>

#include <ctime>
#include <memory>
#include <thread>
#include <vector>

namespace {

platform::Lresult count_procedure(
    platform::WindowHandle, std::uint32_t, platform::Wparam wparam, platform::Lparam)
{
    return static_cast<platform::Lresult>(wparam) + 1;
}

platform::WindowHandle make_window()
{
    platform::register_window_class({ u"BenchWindow", 0, &count_procedure });
    platform::WindowCreate create;
    create.class_name = u"BenchWindow";
    return platform::create_window(create);
}

void get_and_dispatch()
{
    platform::Message message;
    platform::get_message(message);
    platform::dispatch_message(message);
}

void BM_PostDispatchRoundTrip(benchmark::State& state)
{
    platform::WindowHandle window = make_window();
    for (auto _ : state) {
        platform::post_message(window, platform::WM_USER, 1);
        get_and_dispatch();
    }
    platform::destroy_window(window);
}
BENCHMARK(BM_PostDispatchRoundTrip);

void BM_SendAcrossThreads(benchmark::State& state)
{
    liba::Event ready;
    platform::WindowHandle window;
    std::thread owner([&] {
        window = make_window();
        ready.set();
        platform::Message message;
        while (platform::get_message(message) == platform::GetResult::Message)
            platform::dispatch_message(message);
        platform::destroy_window(window);
    });
    ready.wait();
    for (auto _ : state)
        benchmark::DoNotOptimize(platform::send_message(window, platform::WM_USER, 1));
    platform::post_thread_message(platform::window_thread(window), platform::WM_QUIT);
    owner.join();
}
BENCHMARK(BM_SendAcrossThreads)->UseRealTime();

class Request : public CActive {
public:
    Request()
        : CActive(0)
    {
    }

protected:
    void run() override { }
    void do_cancel() override { notify(); }
};

void BM_CompletionRoundTrip(benchmark::State& state)
{
    CActiveScheduler scheduler;
    Request request;
    for (auto _ : state) {
        request.set_active();
        request.notify();
        get_and_dispatch();
    }
}
BENCHMARK(BM_CompletionRoundTrip);

class Counter : public liba::Timer::Listener {
public:
    void on_timer(liba::Timer&) override { ++fired; }
    int fired { 0 };
};

// A handful of other timers keep running, as in the program, so that every
// scan has a realistic list to walk.
std::vector<std::unique_ptr<liba::Timer>> background_timers(Counter& counter)
{
    std::vector<std::unique_ptr<liba::Timer>> timers;
    for (int i = 0; i < 4; ++i) {
        timers.push_back(std::make_unique<liba::Timer>(&counter));
        timers.back()->start(60.0 + i);
    }
    return timers;
}

void BM_TimerStartAndCancel(benchmark::State& state)
{
    CActiveScheduler scheduler;
    Counter counter;
    auto others = background_timers(counter);
    liba::Timer timer(&counter);
    for (auto _ : state) {
        timer.start(1.0);
        timer.cancel();
    }
    others.clear();
}
BENCHMARK(BM_TimerStartAndCancel);

void BM_TimerStartToExpiry(benchmark::State& state)
{
    CActiveScheduler scheduler;
    Counter counter;
    auto others = background_timers(counter);
    liba::Timer timer(&counter);
    for (auto _ : state) {
        timer.start(0);
        get_and_dispatch();
    }
    if (counter.fired != static_cast<int>(state.iterations()))
        state.SkipWithError("a timer did not fire");
    others.clear();
}
BENCHMARK(BM_TimerStartToExpiry);

double thread_cpu_milliseconds()
{
    timespec now {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
}

// A user-interface thread with a scheduler, a pending 10 s timer and a
// window timer, left idle in its message loop for 2 s. Reports the CPU time
// that loop used.
void BM_IdleLoopCpuOverTwoSeconds(benchmark::State& state)
{
    for (auto _ : state) {
        liba::Event ready;
        platform::ThreadId loop_thread = 0;
        double cpu = 0;
        int messages = 0;
        std::thread loop([&] {
            CActiveScheduler scheduler;
            Counter counter;
            liba::Timer timer(&counter);
            timer.start(10.0);
            platform::WindowHandle window = make_window();
            platform::set_timer(window, 1, 5000);
            loop_thread = platform::current_thread_id();
            ready.set();
            double start = thread_cpu_milliseconds();
            platform::Message message;
            while (platform::get_message(message) == platform::GetResult::Message) {
                platform::dispatch_message(message);
                ++messages;
            }
            cpu = thread_cpu_milliseconds() - start;
            timer.cancel();
            platform::destroy_window(window);
        });
        ready.wait();
        std::this_thread::sleep_for(std::chrono::seconds(2));
        platform::post_thread_message(loop_thread, platform::WM_QUIT);
        loop.join();
        state.counters["loop_cpu_ms"] = cpu;
        state.counters["messages"] = messages;
    }
}
BENCHMARK(BM_IdleLoopCpuOverTwoSeconds)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace
