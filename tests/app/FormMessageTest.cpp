// Message forms of the shipped dialogs skin, answered through the script
// player as a user answers them. Built twice: RINGWISE_TEST_DEVICE 0 is a
// Pocket PC, 2 a Smartphone, whose buttons are the soft keys.
#include "app/FormMessage.h"
#include "platform/MessageQueue.h"
#include "platform/Screen.h"
#include "platform/Window.h"
#include "platform/screen/ScreenInput.h"
#include "skinner/Form.h"

#include "tests/skinner/PictureFixture.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

namespace {

constexpr bool SMARTPHONE = RINGWISE_TEST_DEVICE == 2;

// The screen comes up once per process: its size is this program's
// RINGWISE_SCREEN, 240 x 320 unless the caller set another.
const bool device_chosen = [] {
    ::setenv("RINGWISE_HEADLESS", "1", 1);
    ::setenv("RINGWISE_SCREEN", "240x320", 0);
    ::setenv("RINGWISE_PLATFORM", SMARTPHONE ? "Smartphone" : "PocketPC", 1);
    return true;
}();

// The caller's form: it shows the message from its own modal loop, and a
// timer of its own may act on the message form while that one runs.
class Caller : public skinner::Form {
public:
    explicit Caller(skinner::Skin& skin)
        : Form(nullptr, skin, u"Form", nullptr)
    {
    }
    void on_timer(unsigned timer_id) override
    {
        Form::on_timer(timer_id);
        if (timer_id == ask_timer_) {
            kill_timer(ask_timer_);
            answer = ask();
            close();
        } else if (timer_id == act_timer_) {
            kill_timer(act_timer_);
            if (Form* shown = Form::modal_form(); shown && shown != this)
                act(*shown);
        }
    }
    // Runs `ask` from the modal loop; `act` meets the form it shows.
    void run(std::function<std::u16string()> question, std::function<void(Form&)> action = nullptr)
    {
        ask = std::move(question);
        act = std::move(action);
        ask_timer_ = start_timer(0.001);
        if (act)
            act_timer_ = start_timer(0.2);
        do_modal();
    }

    std::u16string answer { u"(none)" };

private:
    std::function<std::u16string()> ask;
    std::function<void(Form&)> act;
    unsigned ask_timer_ { 0 };
    unsigned act_timer_ { 0 };
};

class FormMessageTest : public PictureFixture {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(device_chosen);
        PictureFixture::SetUp();
        platform::Size screen = platform::screen_size();
        skinc::SkinSource source = skin_builder::skin({ skin_builder::variant(u"Form", 160, 160) });
        source.design_sizes[0] = { 240, 320 };
        source.design_sizes[1] = {};
        parent_skin_
            = std::make_unique<skinner::Skin>(skin_builder::write(temp, "caller.skin", source),
                skinner::Point { screen.width, screen.height });
        caller_ = std::make_unique<Caller>(*parent_skin_);
    }
    void TearDown() override
    {
        caller_.reset();
        parent_skin_.reset();
        PictureFixture::TearDown();
    }
    // Shows a message while the script plays; returns its answer.
    std::u16string answer_with_script(const std::u16string& kind, const std::string& lines)
    {
        std::ofstream(temp.native("answer.txt")) << "wait-form " << platform::to_utf8(kind) << "\n"
                                                 << lines;
        EXPECT_TRUE(platform::play_script(temp.native("answer.txt")));
        caller_->run([&] { return show_message(caller_.get(), u"Warning", u"Call Anna?", kind); });
        // The script ends at the next idle moment after its last line.
        platform::Message message;
        while (platform::is_script_playing()
            && platform::get_message(message) == platform::GetResult::Message)
            platform::dispatch_message(message);
        return caller_->answer;
    }

    std::unique_ptr<skinner::Skin> parent_skin_;
    std::unique_ptr<Caller> caller_;
};

} // namespace

TEST_F(FormMessageTest, AYesNoQuestionClosedWithoutAButtonAnswersNo)
{
    bool title_shown = false;
    caller_->run([&] { return show_message(caller_.get(), u"Warning", u"Save?", u"MessageYesNo"); },
        [&](skinner::Form& shown) {
            title_shown = platform::window_text(shown.window()) == u"Warning";
            shown.close();
        });
    EXPECT_TRUE(title_shown);
    EXPECT_EQ(caller_->answer, u"");
}

TEST_F(FormMessageTest, YesIsTheAnswerBtnYesAndNoIsBtnNo)
{
    EXPECT_EQ(
        answer_with_script(u"MessageYesNo", SMARTPHONE ? "key SoftLeft\n" : "tap-control btnYes\n"),
        u"btnYes");
    EXPECT_EQ(
        answer_with_script(u"MessageYesNo", SMARTPHONE ? "key SoftRight\n" : "tap-control btnNo\n"),
        u"btnNo");
}

TEST_F(FormMessageTest, AMessageClosesOnItsButton)
{
    EXPECT_EQ(
        answer_with_script(u"MessageOk", SMARTPHONE ? "key SoftLeft\n" : "tap-control btnOk\n"),
        u"btnOk");
}

#if RINGWISE_TEST_DEVICE == 0
TEST_F(FormMessageTest, PressingTheCaptionDoesNothing)
{
    std::string dump = temp.native("dump.txt");
    EXPECT_EQ(answer_with_script(u"MessageYesNo",
                  "tap-control btnCaption\nwait 50\ndump " + dump + "\ntap-control btnNo\n"),
        u"btnNo");
    std::ifstream file(dump);
    std::string text((std::istreambuf_iterator<char>(file)), {});
    EXPECT_NE(text.find("form MessageYesNo active"), std::string::npos) << text;
    EXPECT_NE(text.find("control btnCaption"), std::string::npos) << text;
    EXPECT_NE(text.find("focused=0 text=Warning"), std::string::npos) << text;
}
#endif

TEST_F(FormMessageTest, AMissingOrBrokenDialogsSkinAnswersEmpty)
{
    std::u16string missing = platform::from_utf8(temp.native("none.skin"));
    std::ofstream(temp.native("broken.skin")) << "not a skin";
    std::u16string broken = platform::from_utf8(temp.native("broken.skin"));
    caller_->run([&] {
        std::u16string first
            = show_message_with(missing, caller_.get(), u"Warning", u"Save?", u"MessageYesNo");
        std::u16string second
            = show_message_with(broken, caller_.get(), u"Warning", u"Save?", u"MessageYesNo");
        std::u16string third = show_message(caller_.get(), u"Warning", u"Save?", u"NoSuchKind");
        return first + second + third;
    });
    EXPECT_EQ(caller_->answer, u"");
    EXPECT_TRUE(logged(u"show_message: no form {MessageYesNo} in " + missing));
    EXPECT_TRUE(logged(u"show_message: no form {NoSuchKind} in"));
}

// The picture of a question that FormMessageLooks asks of a process of its
// own for each screen.
TEST_F(FormMessageTest, ShowsAQuestionForAPicture)
{
    const char* shot = std::getenv("RINGWISE_MESSAGE_SHOT");
    if (!shot)
        GTEST_SKIP() << "FormMessageLooks runs this";
    std::ofstream(temp.native("shot.txt"))
        << "wait-form MessageYesNo\nscreenshot " << shot << "\n"
        << (SMARTPHONE ? "key SoftLeft\n" : "tap-control btnYes\n");
    ASSERT_TRUE(platform::play_script(temp.native("shot.txt")));
    caller_->run([&] {
        return show_message(caller_.get(), u"Warning",
            u"No voice tags are recorded yet. Record one now?", u"MessageYesNo");
    });
    EXPECT_EQ(caller_->answer, u"btnYes");
}

// Pictures of the question on every screen of the device kind, for a look;
// the screen's size is fixed per process.
TEST(FormMessageLooks, OnEveryScreen)
{
    std::string folder = RINGWISE_BINARY_DIR "/screenshots";
    std::filesystem::create_directories(folder);
    TempDirectory temp;
    std::vector<const char*> screens = { "240x320", "480x640", "360x720" };
    if (SMARTPHONE)
        screens = { "176x220", "240x320" };
    for (const char* screen : screens) {
        std::string shot
            = folder + "/message-" + (SMARTPHONE ? "smartphone-" : "pocket-") + screen + ".png";
        std::filesystem::remove(shot);
        std::string command = "RINGWISE_SCREEN=" + std::string(screen) + " RINGWISE_MESSAGE_SHOT='"
            + shot + "' timeout 60 /proc/" + std::to_string(::getpid())
            + "/exe --gtest_filter=FormMessageTest.ShowsAQuestionForAPicture > '"
            + temp.native("child.txt") + "' 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0) << screen;
        EXPECT_TRUE(std::filesystem::exists(shot)) << screen;
    }
}
