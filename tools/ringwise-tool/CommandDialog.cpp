#include "tools/ringwise-tool/ToolCommand.h"
#include "tools/ringwise-tool/ToolFields.h"

#include "app/dialogs/FileExplorerDialog.h"
#include "app/dialogs/FormAbout.h"
#include "os/FileInfo.h"
#include "os/Path.h"
#include "platform/Convert.h"
#include "platform/Screen.h"
#include "skinner/PictureCache.h"
#include "skinner/Skin.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace tool {

namespace {

constexpr char16_t DIALOGS_SKIN[] = u"%app_path%/skins/settings/dialogs.skin";
constexpr char16_t LANGUAGE[] = u"%app_path%/English.lng";
constexpr char16_t SKIN_TAG[] = u"Ringwise_settings_1.0";

int usage()
{
    std::fputs("usage: ringwise-tool dialog explorer|about [--skin FILE.skin] [--language "
               "FILE.lng] [--folder DIR] [--extension EXT] [--screen WxH] [--platform "
               "PocketPC|Smartphone]\n",
        stderr);
    return 2;
}

struct Options {
    std::string which;
    std::u16string skin { DIALOGS_SKIN };
    std::u16string language { LANGUAGE };
    std::u16string folder;
    std::vector<std::u16string> extensions;
};

bool parse(const std::vector<std::string>& arguments, Options& options)
{
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        bool has_value = i + 1 < arguments.size();
        if (!argument.starts_with("--")) {
            if (!options.which.empty())
                return false;
            options.which = argument;
            continue;
        }
        if (!has_value)
            return false;
        const std::string& value = arguments[++i];
        if (argument == "--screen") {
            if (!parse_size(value))
                return false;
            // The screen takes its size from the environment when it starts.
            ::setenv("RINGWISE_SCREEN", value.c_str(), 1);
        } else if (argument == "--platform") {
            if (value != "PocketPC" && value != "Smartphone")
                return false;
            ::setenv("RINGWISE_PLATFORM", value.c_str(), 1);
        } else if (argument == "--skin") {
            options.skin = platform::from_utf8(value);
        } else if (argument == "--language") {
            options.language = platform::from_utf8(value);
        } else if (argument == "--folder") {
            // The dialog walks up from the folder: it must be a full path.
            std::error_code ignored;
            options.folder = std::filesystem::absolute(value, ignored).u16string();
        } else if (argument == "--extension") {
            options.extensions.push_back(platform::from_utf8(value));
        } else {
            return false;
        }
    }
    return options.which == "explorer" || options.which == "about";
}

} // namespace

// Runs the file explorer dialog or the About form on the dialogs skin, as
// the settings form opens them; the explorer prints the path it returned.
int run_dialog(const std::vector<std::string>& arguments)
{
    Options options;
    if (!parse(arguments, options))
        return usage();

    skinner::PictureCache::install();
    platform::Size screen = platform::screen_size();
    skinner::Point size { screen.width, screen.height };
    skinner::Skin skin(options.skin, size);
    if (!skin.is_valid() || !skin.check_version(SKIN_TAG, size)) {
        std::fprintf(stderr, "ringwise-tool: %s is not a dialogs skin for a %dx%d screen\n",
            platform::to_utf8(os::expand_path(options.skin)).c_str(), screen.width, screen.height);
        return 1;
    }
    if (os::FileInfo(options.language).exists())
        skin.set_language(options.language);
    skinner::set_form_window_class(u"SkinnerClass_RingwiseTool");

    if (options.which == "about") {
        dialogs::FormAbout about(nullptr, skin, u"About", u"Tarn Ringwise v4.05",
            options.folder.empty() ? std::u16string(u"%app_path%") : options.folder);
        about.do_modal();
        return 0;
    }
    dialogs::FileExplorerDialog explorer(nullptr, skin, u"Choose a file");
    for (const std::u16string& extension : options.extensions)
        explorer.add_extension(extension);
    if (!options.folder.empty())
        explorer.files().enter_folder(options.folder);
    std::u16string path = explorer.run();
    if (path.empty())
        std::puts("cancelled");
    else
        print_fields({ u"path", path });
    return 0;
}

} // namespace tool
