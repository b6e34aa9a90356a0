#pragma once

#include "platform/graphics/ImageDecoder.h"
#include "tests/support/TempDirectory.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

// Runs one of the preview programs (PreviewForm.h) on a screen and reads
// the layout it printed; the screenshots stay in the temporary folder and,
// when RINGWISE_SHOTS_DIR is set, are copied there too.
namespace preview {

struct Screen {
    const char* size;
    const char* device;
    bool smartphone() const { return std::string(device) == "Smartphone"; }
};

// Every screen the skins are made for.
constexpr Screen SCREENS[] = { { "240x320", "PocketPC" }, { "480x640", "PocketPC" },
    { "360x720", "PocketPC" }, { "176x220", "Smartphone" }, { "240x320", "Smartphone" } };

struct Rect {
    int left, top, right, bottom;
    bool empty() const { return right <= left || bottom <= top; }
    bool inside(const Rect& outer) const
    {
        return left >= outer.left && top >= outer.top && right <= outer.right
            && bottom <= outer.bottom;
    }
    bool overlaps(const Rect& other) const
    {
        return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
    }
};

struct Result {
    std::string prefix;
    int status { -1 };
    std::string errors;
    std::map<std::string, Rect> controls;
    // A button's text width and the room its insets leave ("fit" lines).
    std::map<std::string, std::pair<int, int>> fits;
    Rect form {}, workarea {};
    int scale { 0 };

    std::optional<platform::Bitmap> shot(const std::string& state) const
    {
        std::ifstream file(prefix + "-" + state + ".png", std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(file)), {});
        return platform::decode_image(reinterpret_cast<const std::uint8_t*>(bytes.data()),
            bytes.size(), platform::ImageType::Png);
    }
};

// Shows the skin of bin/skins/FOLDER/FILE with the texts of a language file
// of bin/.
inline Result run(const TempDirectory& temp, const std::string& program, const std::string& skin,
    const Screen& screen, const std::vector<std::string>& states,
    const std::string& language = "English")
{
    std::string name = skin.substr(skin.rfind('/') + 1);
    name = name.substr(0, name.find('.')) + "-" + screen.device + "-" + screen.size;
    if (language != "English")
        name += "-" + language;
    Result result;
    result.prefix = temp.native(name);
    std::string command = std::string("RINGWISE_HEADLESS=1 RINGWISE_SCREEN=") + screen.size
        + " RINGWISE_PLATFORM=" + screen.device + " timeout 60 '" RINGWISE_BINARY_DIR "/bin/"
        + program + "' '" RINGWISE_BINARY_DIR "/bin/skins/" + skin
        + "' '" RINGWISE_BINARY_DIR "/bin/" + language + ".lng' '" + result.prefix + "' > '"
        + temp.native("layout.txt") + "' 2> '" + temp.native("errors.txt") + "'";
    result.status = std::system(command.c_str());
    result.errors = temp.read("errors.txt");
    std::istringstream lines(temp.read("layout.txt"));
    std::string what;
    while (lines >> what) {
        if (what == "scale") {
            lines >> result.scale;
            continue;
        }
        std::string id;
        if (what == "fit") {
            int text = 0, room = 0;
            lines >> id >> text >> room;
            result.fits[id] = { text, room };
            continue;
        }
        if (what == "control")
            lines >> id;
        Rect r {};
        lines >> r.left >> r.top >> r.right >> r.bottom;
        if (what == "control")
            result.controls[id] = r;
        else if (what == "form")
            result.form = r;
        else if (what == "workarea")
            result.workarea = r;
    }
    if (const char* keep = std::getenv("RINGWISE_SHOTS_DIR")) {
        std::filesystem::create_directories(keep);
        for (const std::string& state : states) {
            std::filesystem::path shot = result.prefix + "-" + state + ".png";
            std::error_code ignored;
            std::filesystem::copy_file(shot, std::filesystem::path(keep) / shot.filename(),
                std::filesystem::copy_options::overwrite_existing, ignored);
        }
    }
    return result;
}

// The colour at a fraction of a bar's length, on its middle line.
inline platform::Color colour_along(const platform::Bitmap& shot, const Rect& bar, double along)
{
    int x = bar.left + static_cast<int>((bar.right - bar.left) * along);
    return shot.pixel(x, (bar.top + bar.bottom) / 2) & 0xFFFFFF;
}

} // namespace preview
