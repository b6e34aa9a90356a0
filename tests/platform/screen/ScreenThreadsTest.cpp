#include "tests/platform/screen/ScreenTestSupport.h"

#include <thread>

using namespace platform;
using test_support::ScreenTest;

class ScreenThreads : public ScreenTest { };

TEST_F(ScreenThreads, OtherThreadsWakeTheSleepingScreen)
{
    WindowHandle window = windows().create({ 0, 52, 480, 588 }, make_color(1, 2, 3));
    test_support::run_pending();

    // A post, a sent message and an invalidation from another thread each
    // end the screen's wait.
    std::thread other([window] {
        post_message(window, WM_USER, 1);
        EXPECT_EQ(send_message(window, WM_USER + 1, 2), 0);
        invalidate_window(window);
    });
    std::vector<std::uint32_t> handled;
    while (handled.size() < 2 || handled.back() != WM_PAINT) {
        Message message;
        ASSERT_EQ(get_message(message), GetResult::Message);
        dispatch_message(message);
        if (message.message == WM_USER || message.message == WM_PAINT)
            handled.push_back(message.message);
    }
    other.join();
    EXPECT_EQ(handled.front(), WM_USER);
    bool sent = false;
    for (const auto& seen : windows().take())
        sent |= seen.message == WM_USER + 1;
    EXPECT_TRUE(sent);
}

TEST_F(ScreenThreads, WindowsOfOtherThreadsAreNotOnTheScreen)
{
    windows().create({ 0, 52, 480, 588 }, make_color(1, 2, 3));
    test_support::run_pending();
    WindowHandle foreign;
    std::thread other([&foreign] {
        register_window_class({ u"Foreign", 0, &default_window_procedure });
        WindowCreate create;
        create.class_name = u"Foreign";
        create.style = WS_POPUP | WS_VISIBLE;
        create.width = 100;
        create.height = 100;
        foreign = create_window(create);
        destroy_window(foreign);
    });
    other.join();
    EXPECT_TRUE(foreign);
    EXPECT_NE(active_window(), foreign);
}
