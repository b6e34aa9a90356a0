// The shipped recognition skins on every screen the program meets: each
// passes the version check, has every control the recognition form asks
// for, keeps its controls inside the form and apart from one another, its
// progress bar shows how far the capture has come and its indicators which
// step is current.
#include "tests/assets/PreviewRun.h"

#include <gtest/gtest.h>

using namespace preview;

namespace {

const std::vector<std::string> STATES
    = { "idle", "listening", "processing", "finished", "long", "rejected" };

// Every skin is shown once on every screen; the tests read what it showed.
class RecognitionSkinTest : public testing::TestWithParam<const char*> {
protected:
    static const std::vector<Result>& shown(const std::string& skin)
    {
        static TempDirectory temp;
        static std::map<std::string, std::vector<Result>> results;
        auto [found, fresh] = results.try_emplace(skin);
        if (fresh) {
            for (const Screen& screen : SCREENS)
                found->second.push_back(
                    run(temp, "recognition-preview", skin + "/" + skin + ".skin", screen, STATES));
        }
        return found->second;
    }
};

TEST_P(RecognitionSkinTest, EveryScreenShowsEveryControlInsideTheForm)
{
    for (std::size_t i = 0; i < std::size(SCREENS); ++i) {
        SCOPED_TRACE(std::string(SCREENS[i].size) + " " + SCREENS[i].device);
        Result result = shown(GetParam())[i];
        ASSERT_EQ(result.status, 0) << result.errors;
        ASSERT_EQ(result.controls.size(), 10u);
        EXPECT_TRUE(result.form.inside(result.workarea));
        for (const auto& [id, rect] : result.controls) {
            if (!rect.empty()) {
                EXPECT_TRUE(rect.inside(result.form)) << id;
            }
        }
        // The indicators, texts, bar and buttons never cover one another.
        for (auto a = result.controls.begin(); a != result.controls.end(); ++a) {
            for (auto b = std::next(a); b != result.controls.end(); ++b) {
                if (!a->second.empty() && !b->second.empty()) {
                    EXPECT_FALSE(a->second.overlaps(b->second)) << a->first << " " << b->first;
                }
            }
        }
        // A Smartphone answers with its soft keys.
        EXPECT_EQ(result.controls["btnCorrect"].empty(), SCREENS[i].smartphone());
        EXPECT_EQ(result.controls["btnWrong"].empty(), SCREENS[i].smartphone());
    }
}

TEST_P(RecognitionSkinTest, ProgressBarFillsFromTheLeft)
{
    for (std::size_t i = 0; i < std::size(SCREENS); ++i) {
        SCOPED_TRACE(std::string(SCREENS[i].size) + " " + SCREENS[i].device);
        const Result& result = shown(GetParam())[i];
        ASSERT_EQ(result.status, 0) << result.errors;
        auto idle = result.shot("idle");
        auto half = result.shot("listening");
        auto full = result.shot("processing");
        ASSERT_TRUE(idle && half && full);
        const Rect& bar = result.controls.at("progress");
        platform::Color track = colour_along(*idle, bar, 0.5);
        platform::Color fill = colour_along(*full, bar, 0.5);
        EXPECT_NE(track, fill);
        EXPECT_EQ(colour_along(*idle, bar, 0.25), track);
        EXPECT_EQ(colour_along(*half, bar, 0.25), fill);
        EXPECT_EQ(colour_along(*half, bar, 0.75), track);
        EXPECT_EQ(colour_along(*full, bar, 0.75), fill);
    }
}

TEST_P(RecognitionSkinTest, IndicatorsShowWhichStepIsCurrent)
{
    for (std::size_t i = 0; i < std::size(SCREENS); ++i) {
        SCOPED_TRACE(std::string(SCREENS[i].size) + " " + SCREENS[i].device);
        const Result& result = shown(GetParam())[i];
        ASSERT_EQ(result.status, 0) << result.errors;
        auto idle = result.shot("idle");
        auto listening = result.shot("listening");
        ASSERT_TRUE(idle && listening);
        // Each row starts with a dot, two design units from its left end:
        // a ring while the step waits, filled while it is current.
        auto dot = [&](const platform::Bitmap& shot, const char* id) {
            const Rect& row = result.controls.at(id);
            int size = row.bottom - row.top;
            int centre = row.left + size / 2 + 2 * result.scale;
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
