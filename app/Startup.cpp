#include "app/Startup.h"

#include "app/Document.h"
#include "app/FormRecognizing.h"
#include "app/FormSettings.h"
#include "os/Application.h"
#include "platform/MessageBox.h"
#include "platform/Screen.h"
#include "skinner/PictureCache.h"
#include "skinner/Skin.h"

#include <memory>

namespace {

struct Mode {
    bool recognition;
    const char16_t* application_name;
    const char16_t* version_tag;
    const char16_t* skin_failed;
    // The form the mode opens; a skin without it is refused.
    const char16_t* form_kind;
};

constexpr Mode RECOGNITION { true, u"Ringwise", u"Ringwise_1.0", u"Skin_failed",
    u"FormRecognizing" };
constexpr Mode SETTINGS { false, u"Ringwise_settings", u"Ringwise_settings_1.0",
    u"Settings_skin_failed", u"FormSettings" };

std::u16string skin_path(const Mode& mode, const Settings& settings)
{
    if (!mode.recognition)
        return u"%app_path%/skins/settings/settings.skin";
    return u"%app_path%/skins/" + settings.skin + u"/" + settings.skin + u".skin";
}

void release_instance_lock(os::Application& application)
{
    application.release_instance_lock();
    platform::set_cursor(platform::SystemCursor::Arrow);
}

void run_recognition(os::Application& application, skinner::Skin& skin)
{
    FormRecognizing form(skin);
    release_instance_lock(application);
    form.start_run();
    form.do_modal();
}

void run_settings(
    os::Application& application, skinner::Skin& skin, const std::u16string& command_line)
{
    FormSettings form(nullptr, skin);
    release_instance_lock(application);
    if (form.start(command_line))
        form.do_modal();
}

// Loads the mode's skin and language, checks the skin and runs the form.
void run_mode(os::Application& application, const Mode& mode, const Settings& settings,
    const std::u16string& command_line)
{
    platform::Size screen = platform::screen_size();
    skinner::Point size { screen.width, screen.height };
    skinner::PictureCache::install();
    skinner::Skin skin(skin_path(mode, settings), size);
    // A language that cannot be loaded leaves the keys untranslated.
    skin.set_language(u"%app_path%/" + settings.language + u".lng");
    // A header that passes while the description behind it is damaged
    // leaves no form to find: building one would end in a fatal report.
    if (!skin.check_version(mode.version_tag, size) || !skin.has_form(mode.form_kind)) {
        platform::message_box(skin.translate(mode.skin_failed), skin.translate(u"Warning"));
        return;
    }
    skinner::set_form_window_class(application.window_class());
    if (mode.recognition)
        run_recognition(application, skin);
    else
        run_settings(application, skin, command_line);
}

} // namespace

int run_ringwise(const std::u16string& command_line)
{
    os::Application application(1);
    auto document = std::make_unique<Document>();
    document->load_settings();
    document->repair_store();
    document->load_commands();
    const Mode& mode = command_line.empty() && document->tag_count() >= 1 ? RECOGNITION : SETTINGS;
    if (!application.check_previous_instance(command_line, mode.application_name)) {
        platform::set_cursor(platform::SystemCursor::Wait);
        run_mode(application, mode, document->settings(), command_line);
    }
    document.reset();
    return 0;
}
