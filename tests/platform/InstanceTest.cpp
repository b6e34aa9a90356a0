#include "platform/HandOver.h"
#include "platform/InstanceLock.h"
#include "platform/MessageQueue.h"
#include "platform/Window.h"
#include "tests/support/TempDirectory.h"
#include "tests/support/Watchdog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

// A name no other test run uses at the same time.
std::u16string unique_name(const char* what)
{
    std::string name = std::string("SkinnerClass_") + what + std::to_string(::getpid());
    return std::u16string(name.begin(), name.end());
}

// Whether another open file of the lock could take it now.
bool is_free(const std::u16string& name)
{
    int fd = ::open(platform::InstanceLock::path_of(name).c_str(), O_RDWR | O_CREAT, 0600);
    bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);
    return free;
}

class InstanceLockTest : public ::testing::Test {
protected:
    void SetUp() override { ::setenv("XDG_RUNTIME_DIR", temp.native().c_str(), 1); }
    void TearDown() override { ::unsetenv("XDG_RUNTIME_DIR"); }

    TempDirectory temp;
    test_support::Watchdog watchdog;
};

TEST_F(InstanceLockTest, ASecondHolderWaitsUntilTheFirstReleases)
{
    std::u16string name = unique_name("Wait");
    platform::InstanceLock first;
    ASSERT_TRUE(first.acquire(name));
    EXPECT_FALSE(is_free(name));

    bool second_held = false;
    std::thread second([&] {
        platform::InstanceLock lock;
        second_held = lock.acquire(name);
    });
    first.release();
    second.join();
    EXPECT_TRUE(second_held);
    EXPECT_TRUE(is_free(name));
}

TEST_F(InstanceLockTest, TheLockOfAKilledProcessDoesNotBlock)
{
    std::u16string name = unique_name("Killed");
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    pid_t child = ::fork();
    if (child == 0) {
        platform::InstanceLock lock;
        char held = lock.acquire(name) ? 1 : 0;
        [[maybe_unused]] ssize_t ignored = ::write(ready[1], &held, 1);
        ::raise(SIGKILL);
        ::_exit(1);
    }
    char held = 0;
    ASSERT_EQ(::read(ready[0], &held, 1), 1);
    ASSERT_EQ(held, 1);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status));

    platform::InstanceLock lock;
    EXPECT_TRUE(lock.acquire(name));
    ::close(ready[0]);
    ::close(ready[1]);
}

TEST_F(InstanceLockTest, ALetGoLeavesNoFileAndAStaleFileDoesNotBlock)
{
    std::u16string name = unique_name("Gone");
    std::string path = platform::InstanceLock::path_of(name);
    {
        platform::InstanceLock lock;
        ASSERT_TRUE(lock.acquire(name));
        EXPECT_EQ(::access(path.c_str(), F_OK), 0);
    }
    EXPECT_NE(::access(path.c_str(), F_OK), 0);
    // What a killed holder leaves: a file nobody locks.
    ::close(::open(path.c_str(), O_RDWR | O_CREAT, 0600));
    platform::InstanceLock lock;
    ASSERT_TRUE(lock.acquire(name));
    lock.release();
    EXPECT_NE(::access(path.c_str(), F_OK), 0);
}

TEST_F(InstanceLockTest, AWaiterWhoseFileWasRemovedLocksTheNameAfresh)
{
    std::u16string name = unique_name("Fresh");
    std::string path = platform::InstanceLock::path_of(name);
    platform::InstanceLock first;
    ASSERT_TRUE(first.acquire(name));
    int waiters = 3;
    std::vector<std::thread> threads;
    std::atomic<int> holding { 0 };
    std::atomic<int> most { 0 };
    for (int i = 0; i < waiters; ++i)
        threads.emplace_back([&] {
            platform::InstanceLock lock;
            if (!lock.acquire(name))
                return;
            int now = ++holding;
            most = std::max(most.load(), now);
            std::this_thread::yield();
            --holding;
        });
    first.release();
    for (std::thread& thread : threads)
        thread.join();
    // One holder at a time, though each let-go removed the file the others waited on.
    EXPECT_EQ(most.load(), 1);
    EXPECT_NE(::access(path.c_str(), F_OK), 0);
}

// Windows of the test's class keep the last copy-data they received.
struct Delivery {
    bool received { false };
    std::uintptr_t tag { 99 };
    std::u16string text;
    platform::ThreadId thread { 0 };
};
Delivery delivery;

platform::Lresult record_copy_data(platform::WindowHandle window, std::uint32_t message,
    platform::Wparam wparam, platform::Lparam lparam)
{
    if (message != platform::WM_COPYDATA)
        return platform::default_window_procedure(window, message, wparam, lparam);
    auto* copy = reinterpret_cast<const platform::CopyData*>(lparam);
    delivery.received = true;
    delivery.tag = copy->data_tag;
    delivery.text.assign(static_cast<const char16_t*>(copy->data), copy->byte_count / 2);
    delivery.thread = platform::current_thread_id();
    return 1;
}

class HandOverTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        delivery = {};
        platform::register_window_class({ name, 0, &record_copy_data });
    }
    void TearDown() override
    {
        if (window)
            platform::destroy_window(window);
        platform::unregister_window_class(name);
    }

    void create_window()
    {
        platform::WindowCreate create;
        create.class_name = name;
        create.style = platform::WS_POPUP;
        window = platform::create_window(create);
        ASSERT_TRUE(window);
    }

    // Hands `text` over from another thread while this one handles messages.
    bool hand_over_from_another_thread(const std::u16string& text)
    {
        bool found = false;
        bool done = false;
        std::thread sender([&] {
            found = platform::hand_over(name, text);
            done = true;
            platform::post_message(window, platform::WM_USER);
        });
        platform::Message message;
        while (platform::get_message(message) == platform::GetResult::Message
            && message.message != platform::WM_USER)
            platform::dispatch_message(message);
        sender.join();
        EXPECT_TRUE(done);
        return found;
    }

    std::u16string name = unique_name("HandOver");
    platform::WindowHandle window;
    test_support::Watchdog watchdog;
};

TEST_F(HandOverTest, TheTextReachesTheWindowOnItsOwnThreadAsCopyDataTagZero)
{
    create_window();
    platform::HandOverListener listener(name);
    ASSERT_TRUE(listener.is_listening());
    EXPECT_TRUE(hand_over_from_another_thread(u"  -17 Zo\u00EB"));
    EXPECT_TRUE(delivery.received);
    EXPECT_EQ(delivery.tag, 0u);
    EXPECT_EQ(delivery.text, u"  -17 Zo\u00EB");
    EXPECT_EQ(delivery.thread, platform::current_thread_id());

    // An empty command line arrives as zero bytes.
    delivery = {};
    EXPECT_TRUE(hand_over_from_another_thread(u""));
    EXPECT_TRUE(delivery.received);
    EXPECT_EQ(delivery.text, u"");
}

TEST_F(HandOverTest, AListenerWithoutAWindowOfItsClassTakesNothing)
{
    platform::HandOverListener listener(name);
    ASSERT_TRUE(listener.is_listening());
    EXPECT_FALSE(platform::hand_over(name, u"s"));
    EXPECT_FALSE(delivery.received);
}

TEST_F(HandOverTest, ProcessesOfAnotherRuntimeFolderDoNotMeet)
{
    TempDirectory first, second;
    ::setenv("XDG_RUNTIME_DIR", first.native().c_str(), 1);
    create_window();
    platform::HandOverListener listener(name);
    ASSERT_TRUE(listener.is_listening());
    ::setenv("XDG_RUNTIME_DIR", second.native().c_str(), 1);
    EXPECT_FALSE(platform::hand_over(name, u"s"));
    ::setenv("XDG_RUNTIME_DIR", first.native().c_str(), 1);
    EXPECT_TRUE(hand_over_from_another_thread(u"s"));
    ::unsetenv("XDG_RUNTIME_DIR");
}

} // namespace
