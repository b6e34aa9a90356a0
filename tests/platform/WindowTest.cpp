#include "platform/Window.h"

#include "platform/MessageQueue.h"
#include "tests/platform/MessageTestSupport.h"

#include <gtest/gtest.h>

using namespace platform;
using test_support::Recorder;

namespace {

Lresult refusing_procedure(WindowHandle window, std::uint32_t message, Wparam wparam, Lparam lparam)
{
    if (message == WM_CREATE)
        return -1;
    return default_window_procedure(window, message, wparam, lparam);
}

} // namespace

TEST(Window, ClassesAreNamedWithoutRegardToCase)
{
    Recorder::create(); // registers "TestWindow"
    EXPECT_FALSE(register_window_class({ u"TESTWINDOW", 0, &refusing_procedure }));
    EXPECT_FALSE(register_window_class({ u"NoProcedure", 0, nullptr }));

    WindowCreate create;
    create.class_name = u"testwindow";
    WindowHandle window = create_window(create);
    ASSERT_TRUE(window);
    EXPECT_EQ(window_class_name(window), u"TestWindow");
    // A class cannot go while it has windows.
    EXPECT_FALSE(unregister_window_class(u"TestWindow"));
    destroy_window(window);

    create.class_name = u"NoSuchClass";
    EXPECT_FALSE(create_window(create));
}

TEST(Window, CreationCarriesItsAttributesAndCanBeRefused)
{
    Recorder::register_class();
    Recorder::instance().take();
    WindowCreate create;
    create.class_name = u"TestWindow";
    create.title = u"Loading...";
    create.style = WS_POPUP | WS_VISIBLE | WS_DISABLED;
    create.x = 10;
    create.y = 20;
    create.width = 100;
    create.height = 50;
    WindowHandle window = create_window(create);
    ASSERT_TRUE(window);
    EXPECT_EQ(window_text(window), u"Loading...");
    EXPECT_EQ(window_rect(window), (Rect { 10, 20, 110, 70 }));
    EXPECT_TRUE(is_window_visible(window));
    EXPECT_FALSE(is_window_enabled(window));
    EXPECT_EQ(window_thread(window), current_thread_id());
    auto received = Recorder::instance().take();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].message, WM_CREATE);

    // A hidden popup with default placement, as the scheduler makes it.
    create.style = WS_POPUP;
    create.x = CW_USEDEFAULT;
    create.y = 0;
    create.width = CW_USEDEFAULT;
    create.height = 0;
    create.parent = window;
    WindowHandle owned = create_window(create);
    EXPECT_EQ(window_owner(owned), window);
    EXPECT_FALSE(window_parent(owned));
    EXPECT_FALSE(is_window_visible(owned));
    EXPECT_EQ(window_rect(owned), (Rect {}));

    register_window_class({ u"Refusing", 0, &refusing_procedure });
    create.class_name = u"Refusing";
    create.parent = {};
    EXPECT_FALSE(create_window(create));

    destroy_window(window);
    EXPECT_FALSE(is_window(owned));
}

TEST(Window, MovingAndEnablingTellTheProcedure)
{
    WindowHandle window = Recorder::create();
    Recorder::instance().take();

    EXPECT_TRUE(move_window(window, Rect { 0, 0, 480, 640 }));
    auto received = Recorder::instance().take();
    ASSERT_EQ(received.size(), 1u); // size only: the origin stayed
    EXPECT_EQ(received[0].message, WM_SIZE);
    EXPECT_EQ(received[0].wparam, SIZE_RESTORED);
    EXPECT_EQ(low_word(received[0].lparam), 480);
    EXPECT_EQ(high_word(received[0].lparam), 640);

    move_window(window, Rect { 5, 6, 485, 646 });
    EXPECT_EQ(
        Recorder::instance().take_numbers(0, 0xFFFF), (std::vector<std::uint32_t> { WM_MOVE }));

    enable_window(window, false);
    enable_window(window, false);
    EXPECT_EQ(
        Recorder::instance().take_numbers(0, 0xFFFF), (std::vector<std::uint32_t> { WM_ENABLE }));
    EXPECT_FALSE(is_window_enabled(window));

    int marker = 0;
    EXPECT_EQ(set_window_user_data(window, &marker), nullptr);
    EXPECT_EQ(window_user_data(window), &marker);
    EXPECT_TRUE(set_window_text(window, u"Ringwise"));
    EXPECT_EQ(window_text(window), u"Ringwise");

    // The default procedure answers a close by destroying the window.
    send_message(window, WM_CLOSE);
    EXPECT_FALSE(is_window(window));
    EXPECT_FALSE(move_window(window, Rect {}));
    EXPECT_EQ(window_user_data(window), nullptr);
}
