#include "tests/platform/screen/ScreenTestSupport.h"
#include "tests/platform/screen/ScriptHostSupport.h"
#include "tests/support/TempDirectory.h"

#include <fstream>
#include <sstream>
#include <sys/wait.h>

using namespace platform;
using test_support::ScreenTest;
using test_support::Seen;

namespace {

constexpr Color RED = make_color(200, 0, 0);

std::string read(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void play_to_the_end()
{
    while (is_script_playing()) {
        Message message;
        if (get_message(message) != GetResult::Message)
            break;
        dispatch_message(message);
    }
    test_support::run_pending();
}

struct ChildRun {
    int exit_code;
    std::string errors;
};

// The script runner program plays the script on a headless screen.
ChildRun run_script(const TempDirectory& directory, const std::string& script)
{
    directory.write("script.txt", script);
    std::string command = "cd '" + directory.native() + "' && RINGWISE_HEADLESS=1 RINGWISE_SCRIPT="
        + "script.txt '" RINGWISE_BINARY_DIR "/bin/screen_script_runner' 2> errors.txt";
    int status = std::system(command.c_str());
    return { WIFEXITED(status) ? WEXITSTATUS(status) : -1, read(directory.native("errors.txt")) };
}

} // namespace

class ScriptPlayer : public ScreenTest {
protected:
    void SetUp() override
    {
        window_ = windows().create({ 0, 52, 480, 588 }, RED);
        run_pending();
        windows().on(window_, [this](const Seen& seen) {
            if (seen.message == WM_LBUTTONDOWN && hold_next_)
                held_.push_back(recognize_tap_and_hold(window_, { 0, 52 }));
        });
        set_script_host(&host_);
        windows().take();
    }
    void TearDown() override
    {
        set_script_host(nullptr);
        ScreenTest::TearDown();
    }
    void run_pending() { test_support::run_pending(); }

    std::vector<Seen> input()
    {
        auto seen = windows().take();
        std::erase_if(seen, [](const Seen& s) {
            bool keys = s.message >= WM_KEYDOWN && s.message <= WM_IME_COMPOSITION;
            bool pointer = s.message >= WM_MOUSEMOVE && s.message <= WM_MBUTTONDBLCLK;
            return !keys && !pointer;
        });
        return seen;
    }

    WindowHandle window_;
    test_support::FakeScriptHost host_;
    bool hold_next_ { false };
    std::vector<bool> held_;
    TempDirectory directory_;
};

TEST_F(ScriptPlayer, PointerActionsTapDragAndTapControls)
{
    host_.controls[u"ok"] = { 100, 100, 140, 120 };
    directory_.write("script.txt",
        "# pointer actions\n\ntap 10 62\n  drag 10 100 50 140\ntap-control ok\nwait 20\n");
    ASSERT_TRUE(play_script(directory_.native("script.txt")));
    EXPECT_FALSE(play_script(directory_.native("script.txt"))); // one at a time
    play_to_the_end();

    std::vector<std::tuple<std::uint32_t, int, int>> seen;
    for (const Seen& s : input())
        seen.emplace_back(s.message, low_word(s.lparam), high_word(s.lparam));
    EXPECT_EQ(seen,
        (decltype(seen) { { WM_LBUTTONDOWN, 10, 10 }, { WM_LBUTTONUP, 10, 10 },
            { WM_LBUTTONDOWN, 10, 48 }, { WM_MOUSEMOVE, 20, 58 }, { WM_MOUSEMOVE, 30, 68 },
            { WM_MOUSEMOVE, 40, 78 }, { WM_MOUSEMOVE, 50, 88 }, { WM_LBUTTONUP, 50, 88 },
            { WM_LBUTTONDOWN, 120, 58 }, { WM_LBUTTONUP, 120, 58 } }));
}

TEST_F(ScriptPlayer, KeysAndTextTypeCharactersAsAKeyboardDoes)
{
    directory_.write("script.txt",
        "key A\nkeydown Shift\nkey B\nkeyup Shift\nkey Return\nkey SoftLeft\ntext h\xC3\xA9\n");
    ASSERT_TRUE(play_script(directory_.native("script.txt")));
    play_to_the_end();

    std::vector<std::pair<std::uint32_t, Wparam>> seen;
    for (const Seen& s : input())
        seen.emplace_back(s.message, s.wparam);
    EXPECT_EQ(seen,
        (decltype(seen) { { WM_KEYDOWN, 'A' }, { WM_CHAR, 'a' }, { WM_KEYUP, 'A' },
            { WM_KEYDOWN, VK_SHIFT }, { WM_KEYDOWN, 'B' }, { WM_CHAR, 'B' }, { WM_KEYUP, 'B' },
            { WM_KEYUP, VK_SHIFT }, { WM_KEYDOWN, VK_RETURN }, { WM_KEYUP, VK_RETURN },
            { WM_KEYDOWN, VK_TSOFT1 }, { WM_KEYUP, VK_TSOFT1 }, { WM_CHAR, 'h' },
            { WM_CHAR, u'\u00E9' } }));
}

TEST_F(ScriptPlayer, HostActionsScreenshotsAndDumps)
{
    std::string script = "wait-form Main 1000\ncommand go\nscreenshot "
        + directory_.native("shot.png") + "\ndump " + directory_.native("dump.txt") + "\n";
    directory_.write("script.txt", script);
    ASSERT_TRUE(play_script(directory_.native("script.txt")));
    play_to_the_end();
    EXPECT_EQ(host_.commands, std::vector<std::u16string> { u"go" });
    EXPECT_EQ(read(directory_.native("dump.txt")), "form Main\n");
    std::string png = read(directory_.native("shot.png"));
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(png.substr(1, 3), "PNG");
    // The width and height of the whole screen, big-endian in the header.
    EXPECT_EQ(static_cast<unsigned char>(png[18]) * 256 + static_cast<unsigned char>(png[19]), 480);
    EXPECT_EQ(static_cast<unsigned char>(png[22]) * 256 + static_cast<unsigned char>(png[23]), 640);
}

TEST_F(ScriptPlayer, HoldIsRecognisedAsTapAndHold)
{
    hold_next_ = true;
    directory_.write("script.txt", "hold 0 52\n");
    ASSERT_TRUE(play_script(directory_.native("script.txt")));
    play_to_the_end();
    EXPECT_EQ(held_, std::vector<bool> { true });
    std::vector<std::uint32_t> buttons;
    for (const Seen& s : input())
        buttons.push_back(s.message);
    EXPECT_EQ(buttons, std::vector<std::uint32_t> { WM_LBUTTONDOWN });
}

TEST(ScriptRunner, EndsWhenTheScriptEnds)
{
    TempDirectory directory;
    ChildRun run = run_script(directory, "tap-control ok\nscreenshot shot.png\n");
    EXPECT_EQ(run.exit_code, 0) << run.errors;
    EXPECT_TRUE(std::filesystem::exists(directory.native("shot.png")));
}

TEST(ScriptRunner, AFailingLineEndsTheProgramWithExitCodeThree)
{
    TempDirectory directory;
    const std::vector<std::pair<std::string, std::string>> cases {
        { "frob 1 2", "script: frob 1 2: unknown action frob (line 3)\n" },
        { "tap 1", "script: tap 1: expected 2 numbers (line 3)\n" },
        { "key Hyper", "script: key Hyper: unknown key Hyper (line 3)\n" },
        { "tap-control missing", "script: tap-control missing: no control missing (line 3)\n" },
        { "wait-form Other 50",
            "script: wait-form Other 50: timed out waiting for form Other (line 3)\n" },
        { "command refused",
            "script: command refused: no form takes the command refused (line 3)\n" },
    };
    for (const auto& [line, message] : cases) {
        ChildRun run
            = run_script(directory, "wait 1\n# then\n" + line + "\nscreenshot never.png\n");
        EXPECT_EQ(run.exit_code, 3) << line;
        EXPECT_EQ(run.errors, message);
        EXPECT_FALSE(std::filesystem::exists(directory.native("never.png")));
    }
}

TEST(ScriptRunner, AScriptWithABadLinePlaysNothingOfIt)
{
    TempDirectory directory;
    ChildRun run = run_script(directory, "screenshot first.png\n\ndrag 1 2 3\n");
    EXPECT_EQ(run.exit_code, 3);
    EXPECT_EQ(run.errors, "script: drag 1 2 3: expected 4 numbers (line 3)\n");
    EXPECT_FALSE(std::filesystem::exists(directory.native("first.png")));
}

TEST(ScriptRunner, AMissingScriptFails)
{
    TempDirectory directory;
    std::string command = "cd '" + directory.native()
        + "' && RINGWISE_HEADLESS=1 RINGWISE_SCRIPT=none.txt '" RINGWISE_BINARY_DIR
          "/bin/screen_script_runner' 2> errors.txt";
    int status = std::system(command.c_str());
    EXPECT_EQ(WEXITSTATUS(status), 3);
    EXPECT_EQ(read(directory.native("errors.txt")), "script: none.txt: cannot read the file\n");
}
