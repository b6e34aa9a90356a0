#include "app/FormMessage.h"

#include "os/Log.h"
#include "platform/Screen.h"
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
    platform::Size screen = platform::screen_size();
    skinner::Skin skin(DIALOGS_SKIN, { screen.width, screen.height });
    if (!skin.is_valid() || !skin.has_form(kind)) {
        os::log() << u"show_message: no form {" << kind << u"} in " << DIALOGS_SKIN << u"\n";
        return {};
    }
    FormMessage form(parent, skin, title, text, kind);
    form.do_modal();
    return form.answer();
}
