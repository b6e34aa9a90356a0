#include "app/FormMessage.h"

#include "os/Log.h"
#include "platform/Screen.h"
#include "platform/Window.h"
#include "skinner/Skin.h"

namespace {

constexpr char16_t DIALOGS_SKIN[] = u"%app_path%/skins/settings/dialogs.skin";

} // namespace

FormMessage::FormMessage(skinner::Form* parent, skinner::Skin& skin, const std::u16string& title,
    const std::u16string& text, const std::u16string& kind)
    : Form(parent, skin, kind, nullptr)
    , menu_(*this, u"MenuMain")
    , caption_(*this, u"btnCaption")
    , text_(*this, u"frmText")
{
    caption_.set_focusable(false);
    caption_.set_text(title);
    text_.set_text(text);
    // The shell's top bar shows the title too, where the caption is drawn
    // on the form rather than being the title itself.
    if (window())
        platform::set_window_text(window(), title);
}

FormMessage::~FormMessage() = default;

void FormMessage::on_control(skinner::Control& sender)
{
    if (&sender == &caption_)
        return;
    answer_ = sender.id();
    close();
}

std::u16string show_message(skinner::Form* parent, const std::u16string& title,
    const std::u16string& text, const std::u16string& kind)
{
    return show_message_with(DIALOGS_SKIN, parent, title, text, kind);
}

std::u16string show_message_with(const std::u16string& skin_path, skinner::Form* parent,
    const std::u16string& title, const std::u16string& text, const std::u16string& kind)
{
    platform::Size screen = platform::screen_size();
    skinner::Skin skin(skin_path, { screen.width, screen.height });
    if (!skin.is_valid() || !skin.has_form(kind)) {
        os::log() << u"show_message: no form {" << kind << u"} in " << skin_path << u"\n";
        return {};
    }
    FormMessage form(parent, skin, title, text, kind);
    form.do_modal();
    return form.answer();
}
