#include "liba/ActiveScheduler.h"

#include "liba/Event.h"
#include "platform/Window.h"
#include "tests/liba/SchedulerTestSupport.h"

#include "tests/liba/BareActive.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>

using test_support::BareActive;
using test_support::journal;
using test_support::Recorder;
using test_support::SchedulerTest;
using test_support::TestActive;
using test_support::Watchdog;

namespace {

} // namespace

using ActiveSchedulerTest = SchedulerTest;

TEST_F(ActiveSchedulerTest, OneProcessWideSchedulerWithAHiddenWindow)
{
    EXPECT_EQ(CActiveScheduler::instance(), &scheduler);
    platform::WindowHandle window = scheduler.window();
    EXPECT_EQ(platform::window_class_name(window), u"CActiveSchedulerClass");
    EXPECT_EQ(platform::window_text(window), u"CActiveScheduler");
    EXPECT_EQ(platform::window_style(window), platform::WS_POPUP);
    EXPECT_FALSE(platform::is_window_visible(window));
    {
        CActiveScheduler second;
        EXPECT_EQ(CActiveScheduler::instance(), &scheduler);
    }
    EXPECT_EQ(CActiveScheduler::instance(), &scheduler);
}

TEST_F(ActiveSchedulerTest, ACompletionRunsOnceFromTheMessageLoop)
{
    TestActive object("object");
    object.request();
    EXPECT_TRUE(object.is_active());
    object.complete();
    EXPECT_EQ(object.runs, 0); // only the loop runs it
    EXPECT_EQ(drain(), 1);
    EXPECT_EQ(object.runs, 1);
    EXPECT_FALSE(object.is_active());

    // run() may issue the next request at once.
    object.on_run = [&] {
        if (object.runs < 3)
            object.request();
    };
    object.request();
    object.complete();
    drain();
    EXPECT_TRUE(object.is_active());
    object.complete();
    drain();
    EXPECT_EQ(object.runs, 3);
    EXPECT_FALSE(object.is_active());
}

TEST_F(ActiveSchedulerTest, CompletionsTakenOutDuringACancelRunAfterwardsInOrder)
{
    platform::WindowHandle window = Recorder::create();
    Recorder::instance().take();
    TestActive first("first"), second("second"), cancelled("cancelled");
    first.request();
    second.request();
    cancelled.request();
    platform::post_message(window, platform::WM_USER);
    second.complete();
    first.complete();

    cancelled.cancel();
    EXPECT_EQ(journal(), (std::vector<std::string> { "second", "first" }));
    EXPECT_EQ(cancelled.runs, 0);
    EXPECT_EQ(cancelled.cancels, 1);
    EXPECT_FALSE(cancelled.is_active());
    // The other window's message stayed queued, undispatched.
    EXPECT_TRUE(Recorder::instance().take().empty());
    EXPECT_EQ(drain(), 1);
    EXPECT_EQ(Recorder::instance().take_numbers(platform::WM_USER, platform::WM_USER).size(), 1u);

    // Cancelling an inactive object does nothing.
    cancelled.cancel();
    EXPECT_EQ(cancelled.cancels, 1);
    platform::destroy_window(window);
}

TEST_F(ActiveSchedulerTest, ACompletionCancelledByAnEarlierOneIsNotRun)
{
    TestActive early("early"), victim("victim"), cancelled("cancelled");
    early.request();
    victim.request();
    cancelled.request();
    early.on_run = [&] { victim.cancel(); };
    early.complete();
    victim.complete();

    cancelled.cancel();
    EXPECT_EQ(journal(), (std::vector<std::string> { "early" }));
    EXPECT_EQ(victim.runs, 0);
    EXPECT_EQ(victim.cancels, 1);
    EXPECT_FALSE(victim.is_active());
    EXPECT_EQ(drain(), 0); // nothing stale left behind
}

TEST_F(ActiveSchedulerTest, CancelWaitsForAWorkersCompletionAndRunsOthersThatArrive)
{
    // Tells the worker that the cancel has begun, so that both completions
    // arrive while it waits.
    class Cancelling : public TestActive {
    public:
        using TestActive::TestActive;
        liba::Event cancelling;

    protected:
        void do_cancel() override
        {
            TestActive::do_cancel();
            cancelling.set();
        }
    };

    Watchdog watchdog;
    TestActive other("other");
    Cancelling cancelled("cancelled");
    cancelled.complete_on_cancel = false; // its worker reports on its own
    other.request();
    cancelled.request();
    std::thread worker([&] {
        if (!cancelled.cancelling.wait_for(10000))
            return;
        other.complete();
        cancelled.complete();
    });
    cancelled.cancel();
    worker.join();
    EXPECT_EQ(journal(), (std::vector<std::string> { "other" }));
    EXPECT_EQ(cancelled.runs, 0);
    EXPECT_FALSE(cancelled.is_active());
}

TEST_F(ActiveSchedulerTest, WorkersNotifyConcurrently)
{
    Watchdog watchdog;
    constexpr int count = 8;
    std::vector<std::unique_ptr<TestActive>> objects;
    for (int i = 0; i < count; ++i) {
        objects.push_back(std::make_unique<TestActive>("worker"));
        objects.back()->request();
    }
    liba::Event go;
    std::vector<std::thread> workers;
    for (auto& object : objects) {
        workers.emplace_back([&go, target = object.get()] {
            go.wait();
            target->complete();
        });
    }
    go.set();
    int done = 0;
    platform::Message message;
    while (done < count && platform::get_message(message) == platform::GetResult::Message) {
        platform::dispatch_message(message);
        done = static_cast<int>(journal().size());
    }
    for (auto& worker : workers)
        worker.join();
    for (auto& object : objects) {
        EXPECT_EQ(object->runs, 1);
        EXPECT_FALSE(object->is_active());
    }
}

TEST_F(ActiveSchedulerTest, AQuitWhileCancelWaitsEndsTheWaitAndStaysForTheLoop)
{
    TestActive stuck("stuck");
    stuck.complete_on_cancel = false; // its completion never comes
    stuck.request();
    platform::post_quit_message(3);
    stuck.cancel();
    EXPECT_FALSE(stuck.is_active());
    EXPECT_EQ(stuck.runs, 0);
    platform::Message message;
    ASSERT_EQ(platform::get_message(message), platform::GetResult::Quit);
    EXPECT_EQ(message.wparam, 3u);
}

TEST_F(ActiveSchedulerTest, BrokenRulesAreFatalWithTheirMessageAndLocation)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            BareActive object;
            object.set_active();
            object.set_active();
        },
        ::testing::ExitedWithCode(70), "CActiveScheduler::set_active: Object is already active");
    EXPECT_EXIT(
        {
            BareActive object;
            object.notify();
        },
        ::testing::ExitedWithCode(70),
        "CActiveScheduler::notify\\(\\): Active object is not active");
    EXPECT_EXIT(
        {
            BareActive object;
            scheduler.process_actives(&object);
        },
        ::testing::ExitedWithCode(70),
        "CActiveScheduler::process_actives\\(\\): Active object is not in active list");
    EXPECT_EXIT(
        {
            BareActive object;
            object.set_active();
        },
        ::testing::ExitedWithCode(70), "CActive::~CActive\\(\\): Active object is already active");
    EXPECT_EXIT(
        {
            BareActive object;
            BareActive stray;
            object.set_active();
            platform::post_message(scheduler.window(), CActiveScheduler::COMPLETION_MESSAGE,
                reinterpret_cast<platform::Wparam>(&stray));
            object.cancel();
        },
        ::testing::ExitedWithCode(70),
        "CActiveScheduler::cancel: Object to be added to pending_actives is not marked as active");
}

TEST_F(ActiveSchedulerTest, DestroyingTheSchedulerWithAnActiveObjectIsFatal)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            auto own = std::make_unique<CActiveScheduler>();
            BareActive object;
            own->set_active(object);
            own.reset();
        },
        ::testing::ExitedWithCode(70),
        ": Some active objects still live while scheduler is terminating");
}
