#include "app/dialogs/FormAbout.h"

#include "liba/StringTranslator.h"
#include "os/Execute.h"
#include "os/File.h"
#include "os/Path.h"
#include "platform/Window.h"
#include "skinner/PictureCache.h"

namespace dialogs {

namespace {

constexpr char16_t KIND[] = u"FormAbout";

} // namespace

FormAbout::FormAbout(skinner::Form* parent, skinner::Skin& skin, const std::u16string& caption_key,
    const std::u16string& product, const std::u16string& folder)
    : Form(parent, skin, KIND, nullptr)
    , folder_(folder)
    , menu_(*this, u"MenuMain")
    , product_(*this, u"frmProduct")
    , logo_(*this, u"frmLOGO")
    , logo_button_(*this, u"btnLOGO")
    , maker_button_(*this, u"btnTarn")
    , ok_button_(*this, u"btnOk")
{
    if (window())
        platform::set_window_text(window(), skin.translate(caption_key));
    product_.set_text(product);
    // The logo is a picture; the button over it takes the taps and the focus.
    logo_.set_focusable(false);
    portal_ = read_portal();
    choose_logo();
    set_default_button(&ok_button_);
    set_cancel_button(&ok_button_);
}

FormAbout::~FormAbout() = default;

std::u16string FormAbout::read_portal() const
{
    std::u16string path = os::join_path(folder_, u"portal.txt");
    os::File file(path, 0);
    liba::StringTranslator portal;
    if (!portal.load(file, path))
        return {};
    return portal.translate(u"Portal", {});
}

skinner::Picture FormAbout::load_logo(const std::u16string& key) const
{
    std::u16string name = get_skin().translate(portal_ + key, {});
    if (name.empty())
        return {};
    // The cache finds a picture by its name without extension beside the
    // file given as the skin's path, with the "_x2" image at scale 2.
    std::u16string path = os::join_path(os::join_path(folder_, u"fun"), name);
    return skinner::Picture(
        skinner::PictureCache::instance().load(path, os::file_title_of(name), get_skin().scale()));
}

void FormAbout::choose_logo()
{
    skinner::Picture small = load_logo(u"_LOGO_S");
    skinner::Picture medium = load_logo(u"_LOGO_M");
    platform::Size room = logo_.size();
    platform::Size size = medium.natural_size();
    medium_shown_ = medium.is_loaded() && size.width <= room.width && size.height <= room.height;
    const skinner::Picture& chosen = medium_shown_ ? medium : small;
    if (!chosen.is_loaded()) {
        logo_.set_visible(false);
        logo_button_.set_visible(false);
        return;
    }
    logo_.set_picture(chosen);
}

void FormAbout::open(const std::u16string& key) const
{
    os::open_url(get_skin().translate(key, {}));
}

void FormAbout::on_control(skinner::Control& sender)
{
    if (&sender == &logo_button_)
        open(portal_ + u"_LOGO_URL");
    else if (&sender == &maker_button_)
        open(u"Tarn_URL");
    else if (&sender == &ok_button_)
        close();
    else
        Form::on_control(sender);
}

} // namespace dialogs
