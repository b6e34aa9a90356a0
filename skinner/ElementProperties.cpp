#include "skinner/ElementProperties.h"

#include "os/Log.h"
#include "platform/MessageBox.h"
#include "skinner/Skin.h"

namespace skinner {

namespace {

constexpr int UNSUPPORTED_SENTINEL = 199901;
constexpr const char16_t* UNSUPPORTED_SENTINEL_TEXT = u"199901";

} // namespace

ElementProperties::ElementProperties(Skin* skin, std::u16string kind, std::u16string id, bool form)
    : skin_(skin)
    , kind_(std::move(kind))
    , id_(std::move(id))
    , form_(form)
{
}

ElementProperties ElementProperties::control(
    Skin& skin, const std::u16string& kind, const std::u16string& id)
{
    return ElementProperties(&skin, kind, id, false);
}

ElementProperties ElementProperties::top_level(Skin& skin, const std::u16string& node)
{
    return ElementProperties(&skin, u"", node, false);
}

ElementProperties ElementProperties::form(Skin& skin, const std::u16string& kind)
{
    return ElementProperties(&skin, kind, u"", true);
}

ElementProperties ElementProperties::no_skin()
{
    return ElementProperties(nullptr, u"", u"", false);
}

int ElementProperties::integer(const std::u16string& name, int fallback) const
{
    if (!skin_)
        return fallback;
    if (form_)
        return skin_->form_integer(kind_, name, fallback);
    return skin_->integer(kind_, id_, name, fallback);
}

int ElementProperties::scaled_integer(const std::u16string& name, int fallback) const
{
    if (!skin_ || form_)
        return fallback;
    return skin_->scaled_integer(kind_, id_, name, fallback);
}

Point ElementProperties::point(const std::u16string& name, Point fallback) const
{
    if (!skin_)
        return fallback;
    if (form_)
        return skin_->form_point(kind_, name, fallback);
    return skin_->point(kind_, id_, name, fallback);
}

Color ElementProperties::color(const std::u16string& name, Color fallback) const
{
    if (!skin_ || form_)
        return fallback;
    return skin_->color(kind_, id_, name, fallback);
}

std::u16string ElementProperties::string(
    const std::u16string& name, const std::u16string& fallback) const
{
    if (!skin_ || form_)
        return fallback;
    return skin_->string(kind_, id_, name, fallback);
}

platform::SystemCursor ElementProperties::cursor(const std::u16string& name) const
{
    if (!skin_ || form_)
        return platform::SystemCursor::None;
    return cursor_keyword(skin_->cursor(kind_, id_, name, u""));
}

Picture ElementProperties::picture(const std::u16string& name, const Picture& fallback) const
{
    if (!skin_)
        return fallback;
    SkinPicture stored = form_ ? skin_->form_picture(kind_, name, SkinPicture {})
                               : skin_->picture(kind_, id_, name, SkinPicture {});
    if (stored.empty())
        return fallback;
    return Picture(stored, skin_->scale());
}

FontDescription ElementProperties::font(
    const std::u16string& name, const FontDescription& fallback) const
{
    if (!skin_ || form_)
        return fallback;
    return skin_->font(kind_, id_, name, fallback);
}

FontDescription ElementProperties::default_font() const
{
    FontDescription font;
    font.scale = skin_ ? skin_->scale() : 1;
    return font;
}

Anchor ElementProperties::anchor(const std::u16string& name) const
{
    return anchor_keyword(string(name, u""));
}

HAlignment ElementProperties::h_alignment(const std::u16string& name, HAlignment fallback) const
{
    return h_alignment_keyword(string(name, u""), fallback);
}

VAlignment ElementProperties::v_alignment(const std::u16string& name, VAlignment fallback) const
{
    return v_alignment_keyword(string(name, u""), fallback);
}

Action ElementProperties::action(const std::u16string& name, Action fallback) const
{
    return action_keyword(string(name, u""), fallback);
}

bool ElementProperties::flag(const std::u16string& name, bool fallback) const
{
    return integer(name, fallback ? 1 : 0) != 0;
}

StateLook ElementProperties::look(const std::u16string& name, const StateLook* fallback) const
{
    StateLook look;
    look.picture = picture(name, fallback ? fallback->picture : Picture());
    look.font = font(name, fallback ? fallback->font : default_font());
    look.color = color(name, fallback ? fallback->color : Color {});
    return look;
}

bool ElementProperties::check_unsupported_string(const std::u16string& name) const
{
    if (string(name, UNSUPPORTED_SENTINEL_TEXT) == UNSUPPORTED_SENTINEL_TEXT)
        return false;
    report_unsupported(u"String Property {", name);
    return true;
}

bool ElementProperties::check_unsupported_integer(const std::u16string& name) const
{
    if (integer(name, UNSUPPORTED_SENTINEL) == UNSUPPORTED_SENTINEL)
        return false;
    report_unsupported(u"Count Property {", name);
    return true;
}

void ElementProperties::report_unsupported(const char16_t* type, const std::u16string& name) const
{
    std::u16string message
        = u"Form {" + kind_ + u"}\nControl {" + id_ + u"}\n" + type + name + u"}\n";
    os::log() << u"Unsupported: " << message;
    platform::message_box(message, u"Unsupported");
}

} // namespace skinner
