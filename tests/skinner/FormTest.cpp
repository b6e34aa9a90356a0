#include "skinner/Form.h"
#include "os/Registry.h"
#include "platform/MessageQueue.h"
#include "platform/Screen.h"
#include "platform/Window.h"
#include "platform/screen/ScreenInput.h"
#include "skinner/Control.h"
#include "skinner/KeyCodes.h"

#include "tests/skinner/PictureFixture.h"

#include <functional>

using namespace skin_builder;
using skinner::Control;
using skinner::Form;
using skinner::PointerButton;

namespace {

constexpr platform::Color RED = platform::make_color(255, 0, 0);
constexpr platform::Color BLUE = platform::make_color(0, 0, 255);

// A control that records what reaches it, and paints one colour.
class Probe : public Control {
public:
    Probe(skinner::Container& container, const std::u16string& id, std::vector<std::string>& events)
        : Control(container, id)
        , events_(events)
    {
    }

    void pointer_enter() override { record("enter"); }
    void pointer_leave() override { record("leave"); }
    void pointer_move(platform::Point point) override { record("move", point); }
    void pointer_down(PointerButton button, platform::Point point, bool double_click) override
    {
        record(std::string(button == PointerButton::Right ? "right" : "left")
                + (double_click ? " double" : "") + " down",
            point);
    }
    void pointer_up(PointerButton button, platform::Point point) override
    {
        record(std::string(button == PointerButton::Right ? "right" : "left") + " up", point);
    }
    bool text_input(const std::u16string& text) override
    {
        record("text " + platform::to_utf8(text));
        return uses_text;
    }
    bool key_down(int key) override
    {
        record("key " + std::to_string(key));
        return false;
    }
    void timer_fired() override { record("timer"); }
    void read_properties() override
    {
        Control::read_properties();
        record("read");
    }
    void paint(platform::Canvas& canvas) override
    {
        // What lay under the control before it drew, in the canvas's target.
        platform::Rect clip = canvas.clip();
        seen_under.push_back(canvas.target().pixel(clip.left, clip.top));
        canvas.fill_rect(rect(), colour);
    }

    bool uses_text { true };
    platform::Color colour { RED };
    std::vector<platform::Color> seen_under;

private:
    void record(const std::string& event, std::optional<platform::Point> point = std::nullopt)
    {
        std::string name = platform::to_utf8(id());
        events_.push_back(name + " " + event
            + (point ? " " + std::to_string(point->x) + "," + std::to_string(point->y) : ""));
    }
    std::vector<std::string>& events_;
};

// A form that runs a step inside its own modal loop, when the loop takes the
// timer message, and that can refuse to close.
class TestForm : public Form {
public:
    TestForm(Form* parent, skinner::Skin& skin, const std::u16string& kind,
        skinner::Listener* listener = nullptr)
        : Form(parent, skin, kind, listener)
    {
    }

    bool can_close() override
    {
        ++close_requests;
        return close_requests > refusals;
    }
    void on_timer(unsigned timer_id) override
    {
        Form::on_timer(timer_id);
        if (timer_id == step_timer && step) {
            kill_timer(step_timer);
            auto run = std::move(step);
            step = nullptr;
            run();
        }
    }
    // Runs `body` from inside the modal loop.
    void run_in_loop(std::function<void()> body)
    {
        step = std::move(body);
        step_timer = start_timer(0.001);
    }

    int refusals { 0 };
    int close_requests { 0 };
    std::function<void()> step;
    unsigned step_timer { 0 };
};

class Recorder : public skinner::Listener {
public:
    void on_control(Control& sender) override
    {
        events.push_back("control " + platform::to_utf8(sender.id()));
    }
    void on_command(const std::u16string& text) override
    {
        events.push_back("command " + platform::to_utf8(text));
    }
    std::vector<std::string> events;
};

skinc::Node control(const std::u16string& id, std::int16_t x, std::int16_t y, std::int16_t w,
    std::int16_t h, int z_order = 0)
{
    skinc::Node result = node(id);
    result.properties.points = { { u"Position", x, y }, { u"Size", w, h } };
    result.properties.integers = { { u"ZOrder", z_order } };
    return result;
}

skinc::Node form_variant(const std::u16string& kind, std::int16_t w, std::int16_t h, int start_x,
    int start_y, std::vector<skinc::Node> controls = {})
{
    skinc::Node form = variant(kind, w, h);
    form.properties.integers = { { u"StartPositionX", start_x }, { u"StartPositionY", start_y } };
    form.properties.points.push_back({ u"Position", 10, 20 });
    form.controls = std::move(controls);
    return form;
}

class FormTest : public PictureFixture {
protected:
    void SetUp() override
    {
        ::setenv("RINGWISE_HEADLESS", "1", 1);
        ::setenv("RINGWISE_SCREEN", "480x640", 1);
        PictureFixture::SetUp();
    }

    // A skin of 480 x 640 design size (scale 1 on the 480 x 640 screen).
    std::unique_ptr<skinner::Skin> load_forms(
        std::vector<skinc::Node> forms, std::vector<std::u16string> pictures = {})
    {
        skinc::SkinSource source = skin(std::move(forms));
        source.design_sizes[0] = { 480, 640 };
        source.design_sizes[1] = {};
        source.pictures = std::move(pictures);
        auto loaded = std::make_unique<skinner::Skin>(
            write(temp, "forms.skin", source), skinner::Point { 480, 640 });
        EXPECT_TRUE(loaded->is_valid());
        return loaded;
    }

    static platform::Rect window_rect(const Form& form)
    {
        return platform::window_rect(form.window()).value_or(platform::Rect {});
    }

    static void post(const Form& form, std::uint32_t message, platform::Wparam wparam = 0,
        platform::Lparam lparam = 0)
    {
        platform::post_message(form.window(), message, wparam, lparam);
    }
};

} // namespace

TEST_F(FormTest, PlacementRulesUseTheWorkArea)
{
    auto skin = load_forms({ form_variant(u"FormCentred", 200, 100, 1, 5),
        form_variant(u"FormFill", 200, 100, 3, 3), form_variant(u"FormPlain", 200, 100, 0, 4),
        form_variant(u"FormStill", 200, 100, 6, 1) });
    platform::Rect work = platform::work_area();
    ASSERT_FALSE(work.is_empty());

    Form centred(nullptr, *skin, u"FormCentred", nullptr);
    EXPECT_EQ(window_rect(centred),
        (platform::Rect { work.left + (work.width() - 200) / 2, work.bottom - 100,
            work.left + (work.width() - 200) / 2 + 200, work.bottom }));
    Form fill(nullptr, *skin, u"FormFill", nullptr);
    EXPECT_EQ(window_rect(fill), work);
    Form plain(nullptr, *skin, u"FormPlain", nullptr);
    EXPECT_EQ(window_rect(plain),
        (platform::Rect { work.left + 10, work.top, work.left + 210, work.top + 100 }));
    // Rule 6 on either axis leaves the window where it was made.
    Form still(nullptr, *skin, u"FormStill", nullptr);
    EXPECT_EQ(window_rect(still).width(), 0);

    // Later placements keep what the window was given, except rule 3.
    platform::move_window(centred.window(), { 1, 2, 301, 202 });
    centred.place_on_screen();
    EXPECT_EQ(window_rect(centred), (platform::Rect { 1, 2, 301, 202 }));
    centred.place_on_screen(true);
    EXPECT_EQ(window_rect(centred).bottom, work.bottom);
}

TEST_F(FormTest, AFormThatRefusesToCloseKeepsItsLoopRunning)
{
    auto skin = load_forms({ form_variant(u"FormMain", 200, 100, 1, 1) });
    TestForm form(nullptr, *skin, u"FormMain");
    form.refusals = 1;
    form.run_in_loop([&] {
        form.close();
        EXPECT_TRUE(platform::is_window_visible(form.window()));
        EXPECT_TRUE(form.in_modal_loop());
        form.close();
    });
    form.do_modal();
    EXPECT_EQ(form.close_requests, 2);
    EXPECT_FALSE(platform::is_window_visible(form.window()));
    EXPECT_FALSE(form.in_modal_loop());
    EXPECT_TRUE(logged(u" Form::do_modal: 1\n"));
    EXPECT_TRUE(logged(u" Form::do_modal: 3\n"));
    EXPECT_TRUE(logged(u" WM_CLOSE received\n"));
}

TEST_F(FormTest, NestedModalFormsDisableTheOthersUntilTheyClose)
{
    auto skin = load_forms({ form_variant(u"FormMain", 300, 300, 1, 1),
        form_variant(u"FormChild", 100, 100, 2, 2), form_variant(u"FormOther", 50, 50, 0, 0) });
    TestForm main(nullptr, *skin, u"FormMain");
    TestForm other(nullptr, *skin, u"FormOther");
    bool checked = false;
    main.run_in_loop([&] {
        TestForm child(&main, *skin, u"FormChild");
        child.run_in_loop([&] {
            EXPECT_EQ(Form::modal_form(), &child);
            EXPECT_FALSE(platform::is_window_enabled(main.window()));
            EXPECT_FALSE(platform::is_window_enabled(other.window()));
            EXPECT_TRUE(platform::is_window_enabled(child.window()));
            // Rule 2 centres the child on its parent.
            platform::Rect parent = window_rect(main);
            EXPECT_EQ(window_rect(child).left, parent.left + 100);
            checked = true;
            child.close();
        });
        child.do_modal();
        EXPECT_TRUE(platform::is_window_enabled(main.window()));
        EXPECT_TRUE(platform::is_window_enabled(other.window()));
        EXPECT_EQ(Form::modal_form(), &main);
        main.close();
    });
    main.do_modal();
    EXPECT_TRUE(checked);
    EXPECT_EQ(Form::modal_form(), nullptr);
}

TEST_F(FormTest, TimersCarryTheirIdToTheirOwnControl)
{
    auto skin = load_forms({ form_variant(u"FormMain", 200, 200, 1, 1,
        { control(u"a", 0, 0, 10, 10), control(u"b", 20, 0, 10, 10) }) });
    TestForm form(nullptr, *skin, u"FormMain");
    std::vector<std::string> events;
    Probe a(form, u"a", events), b(form, u"b", events);
    unsigned first = form.start_timer(10);
    unsigned second = a.set_timer(10);
    EXPECT_GT(first, 0u);
    EXPECT_EQ(second, first + 1);
    form.kill_timer(first);
    form.kill_timer(0);
    form.on_timer(first);
    EXPECT_TRUE(events.empty());
    form.on_timer(second);
    EXPECT_EQ(events, (std::vector<std::string> { "a timer" }));
    // A new timer replaces the control's old one.
    unsigned third = a.set_timer(10);
    form.on_timer(second);
    form.on_timer(third);
    EXPECT_EQ(events, (std::vector<std::string> { "a timer", "a timer" }));
    a.kill_timer();
    EXPECT_EQ(a.timer_id(), 0u);
}

TEST_F(FormTest, ThePointerIsCapturedByThePressedControlAndHoverFollowsIt)
{
    auto skin = load_forms({ form_variant(u"FormMain", 200, 200, 0, 0,
        { control(u"a", 0, 0, 50, 50), control(u"b", 100, 0, 50, 50),
            control(u"off", 0, 100, 50, 50) }) });
    TestForm form(nullptr, *skin, u"FormMain");
    std::vector<std::string> events;
    Probe a(form, u"a", events), b(form, u"b", events), off(form, u"off", events);
    off.set_enabled(false);
    using platform::make_lparam;
    post(form, platform::WM_MOUSEMOVE, 0, make_lparam(10, 10));
    post(form, platform::WM_MOUSEMOVE, 0, make_lparam(110, 10));
    post(form, platform::WM_LBUTTONDOWN, platform::MK_LBUTTON, make_lparam(120, 20));
    post(form, platform::WM_MOUSEMOVE, platform::MK_LBUTTON, make_lparam(10, 10));
    post(form, platform::WM_LBUTTONUP, 0, make_lparam(10, 10));
    post(form, platform::WM_MOUSEMOVE, 0, make_lparam(10, 110));
    post(form, platform::WM_LBUTTONDOWN, platform::MK_LBUTTON, make_lparam(10, 110));
    form.run_in_loop([&] { form.close(); });
    form.do_modal();
    EXPECT_EQ(events,
        (std::vector<std::string> { "a enter", "a move 10,10", "a leave", "b enter",
            "b move 110,10", "b left down 120,20", "b move 10,10", "b left up 10,10", "b leave" }));
    // The pressed control took the focus; the disabled one took nothing.
    EXPECT_EQ(form.focused(), &b);
    EXPECT_EQ(form.capture(), nullptr);
}

TEST_F(FormTest, KeysAndTheirCharactersArriveMergedOnAPocketPC)
{
    auto skin = load_forms(
        { form_variant(u"FormMain", 200, 200, 0, 0, { control(u"a", 0, 0, 50, 50) }) });
    TestForm form(nullptr, *skin, u"FormMain");
    std::vector<std::string> events;
    Probe a(form, u"a", events);
    post(form, platform::WM_KEYDOWN, 'A');
    post(form, platform::WM_CHAR, 'a');
    post(form, platform::WM_KEYDOWN, platform::VK_RETURN);
    post(form, platform::WM_CHAR, '\r');
    form.run_in_loop([&] {
        a.uses_text = false;
        post(form, platform::WM_KEYDOWN, 'B');
        post(form, platform::WM_CHAR, 'b');
        form.run_in_loop([&] { form.close(); });
    });
    form.do_modal();
    // A character the control uses is not a key down; Return's character is
    // below 32 and goes as the key; an unused character goes as the key too.
    EXPECT_EQ(events,
        (std::vector<std::string> { "a text a", "a key " + std::to_string(skinner::KEY_RETURN),
            "a text b", "a key " + std::to_string(skinner::KEY_A + 1) }));
}

TEST_F(FormTest, EventsOfControlsAndScreenChangesReachTheListener)
{
    auto skin = load_forms(
        { form_variant(u"FormMain", 200, 200, 1, 1, { control(u"a", 0, 0, 50, 50) }) });
    Recorder listener;
    TestForm form(nullptr, *skin, u"FormMain", &listener);
    std::vector<std::string> events;
    Probe a(form, u"a", events);
    a.on_control(a);
    a.on_command(u"Correct");
    platform::send_message(form.window(), platform::WM_SETTINGCHANGE, platform::SPI_SETWORKAREA);
    EXPECT_EQ(listener.events,
        (std::vector<std::string> {
            "control a", "command Correct", "command #ScreenResolution#" }));
}

TEST_F(FormTest, PaintingDrawsBackgroundAndControlsThroughTheBackBuffer)
{
    // A solid blue background picture and a red control on it.
    platform::Bitmap blue(8, 8, BLUE);
    write_png("back.png", blue);
    skinc::Node form = form_variant(u"FormMain", 200, 100, 0, 0, { control(u"a", 20, 10, 30, 40) });
    form.properties.pictures.push_back(picture_property(u"Background", { 0, 0, 0, 0, 8, 8, 8, 8 }));
    auto skin = load_forms({ form }, { u"back" });
    TestForm shown(nullptr, *skin, u"FormMain");
    std::vector<std::string> events;
    Probe a(shown, u"a", events);
    shown.run_in_loop([&] {
        platform::Bitmap screen = platform::capture_screen();
        platform::Rect at = window_rect(shown);
        EXPECT_EQ(screen.pixel(at.left + 100, at.top + 80), BLUE);
        EXPECT_EQ(screen.pixel(at.left + 20, at.top + 10), RED);
        EXPECT_EQ(screen.pixel(at.left + 49, at.top + 49), RED);
        EXPECT_EQ(screen.pixel(at.left + 50, at.top + 50), BLUE);
        // The control drew on the background in the back buffer.
        ASSERT_FALSE(a.seen_under.empty());
        EXPECT_EQ(a.seen_under.front(), BLUE);
        // Repainting one part touches only that part.
        a.colour = platform::make_color(0, 255, 0);
        std::size_t paints = a.seen_under.size();
        shown.invalidate({ 0, 0, 10, 10 });
        // Each step runs after the one that set it up has returned.
        shown.run_in_loop([&, paints, at] {
            EXPECT_EQ(a.seen_under.size(), paints);
            a.repaint();
            shown.run_in_loop([&, at] {
                EXPECT_EQ(platform::capture_screen().pixel(at.left + 30, at.top + 30),
                    platform::make_color(0, 255, 0));
                shown.close();
            });
        });
    });
    shown.do_modal();
}

TEST_F(FormTest, TheFlickerDiagnosticPaintsMagentaOnTheWindowFirst)
{
    os::RegistryKey key;
    ASSERT_TRUE(key.create(u"HKEY_CURRENT_USER\\Software\\Tarn"));
    ASSERT_TRUE(key.set_number(u"Flicker", 1));
    key.close();
    auto skin = load_forms(
        { form_variant(u"FormMain", 200, 100, 0, 0, { control(u"a", 20, 10, 30, 40) }) });
    TestForm shown(nullptr, *skin, u"FormMain");
    std::vector<std::string> events;
    Probe a(shown, u"a", events);
    shown.run_in_loop([&] { shown.close(); });
    shown.do_modal();
    // Each paint: once on the window over magenta, then in the back buffer,
    // which a new buffer fills with cyan.
    ASSERT_GE(a.seen_under.size(), 2u);
    EXPECT_EQ(a.seen_under[0], platform::make_color(255, 0, 255));
    EXPECT_EQ(a.seen_under[1], platform::make_color(0, 255, 255));
}

TEST_F(FormTest, APictureFailureClosesTheChainAndOnlyTheTopLevelFormShowsIt)
{
    auto skin = load_forms(
        { form_variant(u"FormMain", 300, 300, 1, 1), form_variant(u"FormChild", 100, 100, 2, 2) });
    TestForm main(nullptr, *skin, u"FormMain");
    std::string shown;
    main.run_in_loop([&] {
        TestForm child(&main, *skin, u"FormChild");
        child.run_in_loop([&] {
            ::testing::internal::CaptureStderr();
            child.picture_failed_to_load({ u"button", 2, u"/skins/x.skin" });
            shown = ::testing::internal::GetCapturedStderr();
        });
        child.do_modal();
    });
    main.do_modal();
    EXPECT_EQ(shown, "Out of memory: name=button\nscale=2\nbase_path=/skins/x.skin\n");
    EXPECT_FALSE(main.in_modal_loop());
    EXPECT_TRUE(logged(u"Form WM_CLOSE sent\n"));
}

TEST_F(FormTest, MenuBarRegistrationIsCheckedByFatalReports)
{
    auto skin = load_forms({ form_variant(
        u"FormMain", 100, 100, 0, 0, { control(u"m", 0, 0, 1, 1), control(u"n", 0, 0, 1, 1) }) });
    TestForm form(nullptr, *skin, u"FormMain");
    std::vector<std::string> events;
    Probe m(form, u"m", events), n(form, u"n", events);
    form.register_menu_main(&m);
    EXPECT_EXIT(form.register_menu_main(&n), ::testing::ExitedWithCode(70),
        "Form::register_menu_main: Menu main is already exists");
    EXPECT_EXIT(form.unregister_menu_main(&n), ::testing::ExitedWithCode(70),
        "Form::unregister_menu_main: Menus do not match");
    form.unregister_menu_main(&m);
    EXPECT_EQ(form.menu_main(), nullptr);
}

TEST_F(FormTest, AHoldOnAGestureControlIsARightPressAndATapStaysLeft)
{
    auto skin = load_forms(
        { form_variant(u"FormMain", 200, 200, 0, 0, { control(u"a", 0, 0, 100, 100) }) });
    TestForm form(nullptr, *skin, u"FormMain");
    std::vector<std::string> events;
    // Releases the held press only once the hold was recognised, so that no
    // timer races the hold's half second.
    class HoldProbe final : public Probe {
    public:
        using Probe::Probe;
        void pointer_down(PointerButton button, platform::Point point, bool double_click) override
        {
            Probe::pointer_down(button, point, double_click);
            if (button == PointerButton::Right && on_hold)
                on_hold();
        }
        std::function<void()> on_hold;
    };
    HoldProbe a(form, u"a", events);
    a.set_gestures(true);
    form.run_in_loop([&] {
        platform::Rect at = window_rect(form);
        platform::Point point { at.left + 20, at.top + 30 };
        a.on_hold = [&form, point] {
            platform::inject_pointer(
                platform::PointerAction::Up, platform::PointerButton::Left, point);
            form.run_in_loop([&form] { form.close(); });
        };
        // A tap: released before the hold time.
        platform::inject_pointer(
            platform::PointerAction::Down, platform::PointerButton::Left, point);
        platform::inject_pointer(platform::PointerAction::Up, platform::PointerButton::Left, point);
        form.run_in_loop([point] {
            // A hold: the release comes only after it was recognised.
            platform::inject_pointer(
                platform::PointerAction::Down, platform::PointerButton::Left, point);
        });
    });
    form.do_modal();
    EXPECT_EQ(events,
        (std::vector<std::string> { "a enter", "a left down 20,30", "a left up 20,30",
            "a right down 20,30", "a right up 20,30" }));
}

namespace {

class KeyProbe final : public skinner::KeyButton {
public:
    KeyProbe(std::vector<std::string>& events, std::string name)
        : events_(events)
        , name_(std::move(name))
    {
    }
    void set_pressed_by_key(bool pressed) override
    {
        events_.push_back(name_ + (pressed ? " pressed" : " released"));
    }

private:
    std::vector<std::string>& events_;
    std::string name_;
};

} // namespace

TEST_F(FormTest, ReturnAndEscapePressTheDefaultAndCancelButtonsAfterTheControls)
{
    auto skin = load_forms(
        { form_variant(u"FormMain", 200, 200, 0, 0, { control(u"a", 0, 0, 50, 50) }) });
    TestForm form(nullptr, *skin, u"FormMain");
    std::vector<std::string> events;
    Probe a(form, u"a", events);
    KeyProbe ok(events, "ok"), cancel(events, "cancel");
    form.set_default_button(&ok);
    form.set_cancel_button(&cancel);
    for (int key : { platform::VK_RETURN, platform::VK_ESCAPE }) {
        post(form, platform::WM_KEYDOWN, static_cast<platform::Wparam>(key));
        post(form, platform::WM_KEYUP, static_cast<platform::Wparam>(key));
    }
    form.run_in_loop([&] { form.close(); });
    form.do_modal();
    EXPECT_EQ(events,
        (std::vector<std::string> { "a key " + std::to_string(skinner::KEY_RETURN), "ok pressed",
            "ok released", "a key " + std::to_string(skinner::KEY_ESCAPE), "cancel pressed",
            "cancel released" }));
}

TEST_F(FormTest, ANewLanguageReloadsTheFormsBuiltOnTheSkin)
{
    auto skin = load_forms(
        { form_variant(u"FormMain", 100, 100, 0, 0, { control(u"a", 0, 0, 10, 10) }) });
    std::vector<std::string> events;
    {
        TestForm form(nullptr, *skin, u"FormMain");
        Probe a(form, u"a", events);
        temp.write("English.lng", "Key Value\n");
        ASSERT_TRUE(skin->set_language(temp.wide("English.lng")));
        EXPECT_EQ(events, (std::vector<std::string> { "a read" }));
    }
    // A form that is gone is no longer told.
    ASSERT_TRUE(skin->set_language(temp.wide("English.lng")));
    EXPECT_EQ(events.size(), 1u);
}
