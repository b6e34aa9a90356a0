// The shipped recognition skins on every screen the program meets: each
// passes the version check, has every control the recognition form asks
// for, keeps its controls inside the form and apart from one another, and
// its progress bar shows how far the capture has come. RINGWISE_SHOTS_DIR,
// when set, receives the screenshots of every state.
#include "platform/graphics/ImageDecoder.h"
#include "tests/support/TempDirectory.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <sstream>

namespace {

struct Screen {
    const char* size;
    const char* device;
};

constexpr Screen SCREENS[] = { { "240x320", "PocketPC" }, { "480x640", "PocketPC" },
    { "360x720", "PocketPC" }, { "176x220", "Smartphone" }, { "240x320", "Smartphone" } };

constexpr const char* STATES[]
    = { "idle", "listening", "processing", "finished", "long", "rejected" };

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

struct Preview {
    std::string prefix;
    int status { -1 };
    std::string errors;
    std::map<std::string, Rect> controls;
    Rect form {}, workarea {};
    int scale { 0 };
};

Preview run_preview(const TempDirectory& temp, const std::string& skin, const Screen& screen)
{
    std::string prefix = temp.native(skin + "-" + screen.device + "-" + screen.size);
    std::string out = temp.native("layout.txt"), err = temp.native("errors.txt");
    std::string command = std::string("RINGWISE_HEADLESS=1 RINGWISE_SCREEN=") + screen.size
        + " RINGWISE_PLATFORM=" + screen.device
        + " timeout 60 '" RINGWISE_BINARY_DIR "/bin/recognition-preview' '" RINGWISE_BINARY_DIR
          "/bin/skins/"
        + skin + "/" + skin + ".skin' '" RINGWISE_BINARY_DIR "/bin/English.lng' '" + prefix
        + "' > '" + out + "' 2> '" + err + "'";
    Preview preview;
    preview.prefix = prefix;
    preview.status = std::system(command.c_str());
    preview.errors = temp.read("errors.txt");
    std::istringstream lines(temp.read("layout.txt"));
    std::string what;
    while (lines >> what) {
        if (what == "scale") {
            lines >> preview.scale;
            continue;
        }
        std::string id;
        if (what == "control")
            lines >> id;
        Rect r {};
        lines >> r.left >> r.top >> r.right >> r.bottom;
        if (what == "control")
            preview.controls[id] = r;
        else if (what == "form")
            preview.form = r;
        else if (what == "workarea")
            preview.workarea = r;
    }
    if (const char* keep = std::getenv("RINGWISE_SHOTS_DIR")) {
        std::filesystem::create_directories(keep);
        for (const char* state : STATES) {
            std::filesystem::path shot = prefix + "-" + state + ".png";
            std::error_code ignored;
            std::filesystem::copy_file(shot, std::filesystem::path(keep) / shot.filename(),
                std::filesystem::copy_options::overwrite_existing, ignored);
        }
    }
    return preview;
}

std::optional<platform::Bitmap> load_png(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(file)), {});
    return platform::decode_image(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(),
        platform::ImageType::Png);
}

// The colour at a fraction of the bar's length, on its middle line.
platform::Color bar_colour(const platform::Bitmap& shot, const Rect& bar, double along)
{
    int x = bar.left + static_cast<int>((bar.right - bar.left) * along);
    return shot.pixel(x, (bar.top + bar.bottom) / 2) & 0xFFFFFF;
}

// Every skin is shown once on every screen; the tests read what it showed.
class RecognitionSkinTest : public testing::TestWithParam<const char*> {
protected:
    static const std::vector<Preview>& previews(const std::string& skin)
    {
        static TempDirectory temp;
        static std::map<std::string, std::vector<Preview>> shown;
        auto [found, fresh] = shown.try_emplace(skin);
        if (fresh) {
            for (const Screen& screen : SCREENS)
                found->second.push_back(run_preview(temp, skin, screen));
        }
        return found->second;
    }
};

TEST_P(RecognitionSkinTest, EveryScreenShowsEveryControlInsideTheForm)
{
    for (std::size_t i = 0; i < std::size(SCREENS); ++i) {
        const Screen& screen = SCREENS[i];
        SCOPED_TRACE(std::string(screen.size) + " " + screen.device);
        Preview preview = previews(GetParam())[i];
        ASSERT_EQ(preview.status, 0) << preview.errors;
        ASSERT_EQ(preview.controls.size(), 10u);
        EXPECT_TRUE(preview.form.inside(preview.workarea));
        for (const auto& [id, rect] : preview.controls) {
            if (!rect.empty()) {
                EXPECT_TRUE(rect.inside(preview.form)) << id;
            }
        }
        // The indicators, texts, bar and buttons never cover one another.
        for (auto a = preview.controls.begin(); a != preview.controls.end(); ++a) {
            for (auto b = std::next(a); b != preview.controls.end(); ++b) {
                if (!a->second.empty() && !b->second.empty()) {
                    EXPECT_FALSE(a->second.overlaps(b->second)) << a->first << " " << b->first;
                }
            }
        }
        bool smartphone = std::string(screen.device) == "Smartphone";
        EXPECT_EQ(preview.controls["btnCorrect"].empty(), smartphone);
        EXPECT_EQ(preview.controls["btnWrong"].empty(), smartphone);
    }
}

TEST_P(RecognitionSkinTest, ProgressBarFillsFromTheLeft)
{
    for (std::size_t i = 0; i < std::size(SCREENS); ++i) {
        const Screen& screen = SCREENS[i];
        SCOPED_TRACE(std::string(screen.size) + " " + screen.device);
        Preview preview = previews(GetParam())[i];
        ASSERT_EQ(preview.status, 0) << preview.errors;
        const std::string& prefix = preview.prefix;
        auto idle = load_png(prefix + "-idle.png");
        auto half = load_png(prefix + "-listening.png");
        auto full = load_png(prefix + "-processing.png");
        ASSERT_TRUE(idle && half && full);
        const Rect& bar = preview.controls["progress"];
        platform::Color track = bar_colour(*idle, bar, 0.5);
        platform::Color fill = bar_colour(*full, bar, 0.5);
        EXPECT_NE(track, fill);
        EXPECT_EQ(bar_colour(*idle, bar, 0.25), track);
        EXPECT_EQ(bar_colour(*half, bar, 0.25), fill);
        EXPECT_EQ(bar_colour(*half, bar, 0.75), track);
        EXPECT_EQ(bar_colour(*full, bar, 0.75), fill);
    }
}

TEST_P(RecognitionSkinTest, IndicatorsShowWhichStepIsCurrent)
{
    for (std::size_t i = 0; i < std::size(SCREENS); ++i) {
        const Screen& screen = SCREENS[i];
        SCOPED_TRACE(std::string(screen.size) + " " + screen.device);
        Preview preview = previews(GetParam())[i];
        ASSERT_EQ(preview.status, 0) << preview.errors;
        const std::string& prefix = preview.prefix;
        auto idle = load_png(prefix + "-idle.png");
        auto listening = load_png(prefix + "-listening.png");
        ASSERT_TRUE(idle && listening);
        // Each row starts with a dot, two design units from its left end:
        // a ring while the step waits, filled while it is current.
        auto dot = [&](const platform::Bitmap& shot, const char* id) {
            const Rect& row = preview.controls[id];
            int size = row.bottom - row.top;
            int centre = row.left + size / 2 + 2 * preview.scale;
            return shot.pixel(centre + size / 5, (row.top + row.bottom) / 2) & 0xFFFFFF;
        };
        EXPECT_NE(dot(*idle, "chkListening"), dot(*listening, "chkListening"));
        EXPECT_EQ(dot(*idle, "chkProcessing"), dot(*listening, "chkProcessing"));
    }
}

INSTANTIATE_TEST_SUITE_P(Skins, RecognitionSkinTest,
    testing::Values("Default_Green", "Default_Dark"),
    [](const testing::TestParamInfo<const char*>& info) { return std::string(info.param); });

} // namespace
