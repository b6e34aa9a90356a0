#include "tools/ringwise-tool/ToolCommand.h"
#include "tools/ringwise-tool/ToolFields.h"

#include "platform/Convert.h"
#include "platform/Screen.h"
#include "platform/Window.h"
#include "skinner/AutoControls.h"
#include "skinner/ControlCheckBox.h"
#include "skinner/ControlEdit.h"
#include "skinner/ControlProgress.h"
#include "skinner/ControlScrollBar.h"
#include "skinner/Form.h"
#include "skinner/KeyCodes.h"
#include "skinner/PictureCache.h"
#include "skinner/Skin.h"

#include <cstdio>
#include <cstdlib>
#include <optional>

namespace tool {

namespace {

int usage()
{
    std::fputs("usage: ringwise-tool show SKIN.skin KIND [--screen WxH] [--platform "
               "PocketPC|Smartphone]\n",
        stderr);
    return 2;
}

// The form as a skin designer looks at it: Escape (or the named command
// "#close#") closes it when no button of the form uses the key.
class ShownForm final : public skinner::Form {
public:
    ShownForm(skinner::Skin& skin, const std::u16string& kind)
        : Form(nullptr, skin, kind, nullptr)
    {
    }

    bool key_down(int key) override
    {
        if (Form::key_down(key))
            return true;
        if (key != skinner::KEY_ESCAPE)
            return false;
        close();
        return true;
    }
    // A script ends the preview with "command #close#": on a Smartphone the
    // back key in a focused edit deletes a character instead.
    void on_command(const std::u16string& text) override
    {
        if (text == u"#close#")
            close();
        else
            Form::on_command(text);
    }
};

// A skin designer also previews the controls a program makes itself: the
// automatic entries "Auto.CheckBox", "Auto.Progress" (shown at 60 %),
// "Auto.Edit" and "Auto.ScrollBar" (a range of 100, a page of 25) make them.
void register_preview_controls()
{
    using skinner::Container;
    using skinner::Control;
    skinner::set_auto_control_maker(u"Auto.CheckBox",
        [](Container& container, const std::u16string& id) -> std::unique_ptr<Control> {
            return std::make_unique<skinner::ControlCheckBox>(container, id);
        });
    skinner::set_auto_control_maker(u"Auto.Progress",
        [](Container& container, const std::u16string& id) -> std::unique_ptr<Control> {
            auto bar = std::make_unique<skinner::ControlProgress>(container, id);
            bar->set_value(0.6);
            return bar;
        });
    skinner::set_auto_control_maker(u"Auto.Edit",
        [](Container& container, const std::u16string& id) -> std::unique_ptr<Control> {
            return std::make_unique<skinner::ControlEdit>(container, id);
        });
    skinner::set_auto_control_maker(u"Auto.ScrollBar",
        [](Container& container, const std::u16string& id) -> std::unique_ptr<Control> {
            auto bar = std::make_unique<skinner::ControlScrollBar>(container, id);
            bar->set_range(0, 100);
            bar->set_page(25);
            return bar;
        });
}

} // namespace

// Opens one form of a skin on the screen, placed as the program places it,
// and runs it modally until it closes.
int run_show(const std::vector<std::string>& arguments)
{
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        bool has_value = i + 1 < arguments.size();
        if (argument == "--screen" && has_value) {
            if (!parse_size(arguments[i + 1]))
                return usage();
            // The screen takes its size from the environment when it starts.
            ::setenv("RINGWISE_SCREEN", arguments[++i].c_str(), 1);
        } else if (argument == "--platform" && has_value) {
            const std::string& type = arguments[++i];
            if (type != "PocketPC" && type != "Smartphone")
                return usage();
            ::setenv("RINGWISE_PLATFORM", type.c_str(), 1);
        } else if (argument.starts_with("--")) {
            return usage();
        } else {
            positional.push_back(argument);
        }
    }
    if (positional.size() != 2)
        return usage();
    std::u16string path = platform::from_utf8(positional[0]);
    std::u16string kind = platform::from_utf8(positional[1]);

    skinner::PictureCache::install();
    register_preview_controls();
    platform::Size screen = platform::screen_size();
    skinner::Skin skin(path, { screen.width, screen.height });
    if (!skin.is_valid()) {
        std::fprintf(stderr, "ringwise-tool: %s is not a valid skin\n", positional[0].c_str());
        return 1;
    }
    if (!skin.has_form(kind)) {
        std::fprintf(stderr, "ringwise-tool: %s has no form %s for a %dx%d screen\n",
            positional[0].c_str(), positional[1].c_str(), screen.width, screen.height);
        return 1;
    }
    skinner::set_form_window_class(u"SkinnerClass_RingwiseTool");
    ShownForm form(skin, kind);
    // The form's title bar names what is shown; a caption button of the
    // form replaces it, as in the program.
    platform::set_window_text(form.window(), kind);
    form.do_modal();
    return 0;
}

} // namespace tool
