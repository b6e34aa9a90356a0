#include "tools/ringwise-tool/ToolCommand.h"
#include "tools/ringwise-tool/ToolFields.h"

#include "app/Document.h"
#include "app/FormSettings.h"
#include "platform/Convert.h"
#include "platform/Screen.h"
#include "skinner/PictureCache.h"
#include "skinner/Skin.h"

#include <cstdio>
#include <cstdlib>

namespace tool {

namespace {

constexpr char16_t SETTINGS_SKIN[] = u"%app_path%/skins/settings/settings.skin";
constexpr char16_t SKIN_TAG[] = u"Ringwise_settings_1.0";

int usage()
{
    std::fputs("usage: ringwise-tool settings [--command-line TEXT] [--screen WxH] [--platform "
               "PocketPC|Smartphone]\n",
        stderr);
    return 2;
}

} // namespace

// Runs the settings form on the settings skin beside the program, with the
// document of the program's folder, as the settings mode does; prints
// whether the form ran and, after it closed, the selected row.
int run_settings(const std::vector<std::string>& arguments)
{
    std::u16string command_line = u"s";
    for (std::size_t i = 0; i < arguments.size(); i += 2) {
        if (i + 1 >= arguments.size())
            return usage();
        const std::string& value = arguments[i + 1];
        if (arguments[i] == "--command-line") {
            command_line = platform::from_utf8(value);
        } else if (arguments[i] == "--screen" && parse_size(value)) {
            // The screen takes its size from the environment when it starts.
            ::setenv("RINGWISE_SCREEN", value.c_str(), 1);
        } else if (arguments[i] == "--platform" && (value == "PocketPC" || value == "Smartphone")) {
            ::setenv("RINGWISE_PLATFORM", value.c_str(), 1);
        } else {
            return usage();
        }
    }

    Document document;
    document.load_settings();
    document.load_commands();
    skinner::PictureCache::install();
    platform::Size screen = platform::screen_size();
    skinner::Point size { screen.width, screen.height };
    skinner::Skin skin(SETTINGS_SKIN, size);
    skin.set_language(u"%app_path%/" + document.settings().language + u".lng");
    if (!skin.is_valid() || !skin.check_version(SKIN_TAG, size)) {
        std::fputs("ringwise-tool: the settings skin does not suit this screen\n", stderr);
        return 1;
    }
    skinner::set_form_window_class(u"SkinnerClass_Ringwise_settings");

    FormSettings form(nullptr, skin);
    bool shown = form.start(command_line);
    print_fields({ u"shown", shown ? u"yes" : u"no" });
    if (!shown)
        return 0;
    form.do_modal();
    if (const Command* selected = form.selected_command())
        print_fields(
            { u"selected", platform::from_utf8(std::to_string(selected->id)), selected->phone });
    else
        print_fields({ u"selected", u"none" });
    return 0;
}

} // namespace tool
