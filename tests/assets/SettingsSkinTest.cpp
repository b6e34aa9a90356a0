// The shipped settings skin on every screen the program meets: it passes
// the version check, has every control the settings form asks for, the
// recording notice and its bar lie over the list, the buttons below it, and
// the bar shows the recording's progress.
#include "tests/assets/PreviewRun.h"

#include <gtest/gtest.h>

using namespace preview;

namespace {

const std::vector<std::string> STATES = { "browse", "filter", "record" };

const std::vector<Result>& shown(const std::string& language = "English")
{
    static TempDirectory temp;
    static std::map<std::string, std::vector<Result>> results;
    std::vector<Result>& of_language = results[language];
    if (of_language.empty()) {
        for (const Screen& screen : SCREENS)
            of_language.push_back(
                run(temp, "settings-preview", "settings/settings.skin", screen, STATES, language));
    }
    return of_language;
}

TEST(SettingsSkin, EveryScreenPlacesTheListNoticeAndButtons)
{
    for (std::size_t i = 0; i < std::size(SCREENS); ++i) {
        SCOPED_TRACE(std::string(SCREENS[i].size) + " " + SCREENS[i].device);
        Result result = shown()[i];
        ASSERT_EQ(result.status, 0) << result.errors;
        ASSERT_EQ(result.controls.size(), 7u);
        EXPECT_TRUE(result.form.inside(result.workarea));
        const Rect& grid = result.controls["grid"];
        EXPECT_TRUE(grid.inside(result.form));
        EXPECT_TRUE(result.controls["message"].inside(grid));
        EXPECT_TRUE(result.controls["progress"].inside(result.controls["message"]));
        const char* buttons[] = { "btnRecord", "btnPlay", "btnDelete" };
        for (const char* id : buttons) {
            const Rect& button = result.controls[id];
            // A Smartphone records with a soft key and plays and deletes from
            // the list's menu.
            EXPECT_EQ(button.empty(), SCREENS[i].smartphone()) << id;
            if (button.empty())
                continue;
            EXPECT_TRUE(button.inside(result.form)) << id;
            EXPECT_FALSE(button.overlaps(grid)) << id;
            for (const char* other : buttons) {
                if (other != id) {
                    EXPECT_FALSE(button.overlaps(result.controls[other])) << id << " " << other;
                }
            }
        }
    }
}

TEST(SettingsSkin, EveryButtonsLabelFitsInsideItInBothLanguages)
{
    for (const char* language : { "English", "German" }) {
        for (std::size_t i = 0; i < std::size(SCREENS); ++i) {
            SCOPED_TRACE(std::string(language) + " " + SCREENS[i].size + " " + SCREENS[i].device);
            const Result& result = shown(language)[i];
            ASSERT_EQ(result.status, 0) << result.errors;
            // A Smartphone has soft keys instead.
            ASSERT_EQ(result.fits.size(), SCREENS[i].smartphone() ? 0u : 3u);
            for (const auto& [id, fit] : result.fits) {
                EXPECT_GT(fit.first, 0) << id;
                EXPECT_LE(fit.first, fit.second) << id;
            }
        }
    }
}

TEST(SettingsSkin, RecordingBarShowsTheElapsedTime)
{
    for (std::size_t i = 0; i < std::size(SCREENS); ++i) {
        SCOPED_TRACE(std::string(SCREENS[i].size) + " " + SCREENS[i].device);
        const Result& result = shown()[i];
        ASSERT_EQ(result.status, 0) << result.errors;
        auto record = result.shot("record");
        auto browse = result.shot("browse");
        ASSERT_TRUE(record && browse);
        // The preview records 40 % of the time.
        const Rect& bar = result.controls.at("progress");
        EXPECT_NE(colour_along(*record, bar, 0.2), colour_along(*record, bar, 0.6));
        // Hidden while browsing: the list shows there instead.
        EXPECT_NE(colour_along(*browse, bar, 0.2), colour_along(*record, bar, 0.2));
    }
}

} // namespace
