#pragma once

#include "platform/graphics/ImageDecoder.h"
#include "platform/screen/ScreenInput.h"
#include "skinner/KeyCodes.h"

#include "tests/skinner/ControlFixture.h"
#include "tests/support/Watchdog.h"

#include <filesystem>
#include <sstream>

// The dialogs on the headless 480 x 640 screen, built from a test skin of
// solid-colour pictures, and driven by scripts of the screen's player.
namespace dialog_test {

using namespace control_test;

constexpr platform::Color ICON_UP = platform::make_color(200, 0, 200);
constexpr platform::Color ICON_FOLDER = platform::make_color(230, 180, 0);
constexpr platform::Color ICON_AUDIO = platform::make_color(0, 160, 220);
constexpr platform::Color ICON_FILE = platform::make_color(90, 90, 90);
constexpr platform::Color ROW = platform::make_color(250, 250, 250);
constexpr platform::Color SELECTED_ROW = platform::make_color(210, 240, 220);

// Where the list of the test skin lies in its form, and its rows' height.
constexpr int LIST_LEFT = 8;
constexpr int LIST_TOP = 124;
constexpr int ROW_HEIGHT = 32;
constexpr int ICON_COLUMN = 24;

class DialogFixture : public ControlFixture {
protected:
    // The form "FileExplorerDialog" and the form "FormAbout" (its logo
    // frame 120 x 80).
    std::unique_ptr<skinner::Skin> load_dialogs()
    {
        auto frame = [&](const std::u16string& id, int x, int y, int w, int h) {
            skinc::Node node
                = control_node(id, static_cast<std::int16_t>(x), static_cast<std::int16_t>(y),
                    static_cast<std::int16_t>(w), static_cast<std::int16_t>(h));
            add_color(node, u"Normal", BLACK);
            return node;
        };
        auto button = [&](const std::u16string& id, int x, int y) {
            skinc::Node node = frame(id, x, y, 200, 40);
            add_picture(node, u"Normal", solid(GREY));
            add_string(node, u"Text", id);
            return node;
        };
        skinc::Node edit = frame(u"edtPath", 8, 80, 464, 36);
        add_point(edit, u"BorderMin", 4, 4);
        add_picture(edit, u"Normal", solid(WHITE));
        skinc::Node list = frame(u"lstFiles", LIST_LEFT, LIST_TOP, 464, 288);
        add_integer(list, u"ItemHeight", ROW_HEIGHT);
        add_integer(list, u"IconWidth", ICON_COLUMN);
        add_picture(list, u"ItemNormal", solid(ROW));
        add_color(list, u"ItemNormal", BLACK);
        add_picture(list, u"ItemSelection", solid(SELECTED_ROW));
        add_color(list, u"ItemSelection", BLACK);
        add_picture(list, u"IconUp", solid(ICON_UP, 16, 16));
        add_picture(list, u"IconFolder", solid(ICON_FOLDER, 16, 16));
        add_picture(list, u"IconAudio", solid(ICON_AUDIO, 16, 16));
        add_picture(list, u"IconFile", solid(ICON_FILE, 16, 16));
        skinc::Node explorer = form_node(u"FileExplorerDialog",
            { frame(u"frmCaption", 0, 0, 480, 40), frame(u"frmPath", 8, 48, 200, 30), edit, list,
                button(u"btnOk", 8, 420), button(u"btnCancel", 272, 420) },
            480, 470);
        add_picture(explorer, u"Background", solid(WHITE));

        skinc::Node about = form_node(u"FormAbout",
            { frame(u"frmProduct", 8, 8, 464, 40), frame(u"frmLOGO", 180, 60, 120, 80),
                button(u"btnLOGO", 140, 150), button(u"btnTarn", 140, 200),
                button(u"btnOk", 140, 250) },
            480, 300);
        add_picture(about, u"Background", solid(WHITE));
        return load_skin({ explorer, about });
    }

    void TearDown() override
    {
        finish_script();
        ControlFixture::TearDown();
    }

    // A script that closed its dialog with its last line ends at the
    // thread's next idle moment.
    static void finish_script()
    {
        platform::Message message;
        while (platform::is_script_playing()
            && platform::get_message(message) == platform::GetResult::Message)
            platform::dispatch_message(message);
    }

    // Plays the script (its lines joined) on the dialog's modal loop once
    // `run` shows it.
    void play(const std::vector<std::string>& lines)
    {
        finish_script();
        std::string text;
        for (const std::string& line : lines)
            text += line + "\n";
        ASSERT_TRUE(platform::play_script(script("script.txt", text)));
    }

    // The centre of a row of the list, in screen pixels.
    static std::string row_point(const skinner::Form& form, int row)
    {
        platform::Point point
            = screen_point(form, LIST_LEFT + 200, LIST_TOP + row * ROW_HEIGHT + ROW_HEIGHT / 2);
        return std::to_string(point.x) + " " + std::to_string(point.y);
    }

    // The line of the control `id` in a dump the script wrote.
    std::string dumped(const std::string& dump, const std::string& id)
    {
        std::istringstream lines(file_text(dump));
        for (std::string line; std::getline(lines, line);)
            if (line.starts_with("control " + id + " "))
                return line;
        return {};
    }

    platform::Bitmap screenshot(const std::string& name)
    {
        std::string bytes = file_text(name);
        auto bitmap = platform::decode_image(reinterpret_cast<const std::uint8_t*>(bytes.data()),
            bytes.size(), platform::ImageType::Png);
        EXPECT_TRUE(bitmap.has_value()) << name;
        return bitmap ? std::move(*bitmap) : platform::Bitmap();
    }

    test_support::Watchdog watchdog { std::chrono::seconds(60) };
};

} // namespace dialog_test
