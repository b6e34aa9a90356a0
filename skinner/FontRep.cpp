#include "skinner/FontRep.h"

#include "os/Log.h"
#include "platform/graphics/TextRenderer.h"

#include <algorithm>
#include <map>
#include <memory>
#include <tuple>

namespace skinner {

namespace {

constexpr int SCREEN_DPI = 96;
constexpr std::size_t FACE_NAME_LIMIT = 31;

int font_height(const FontDescription& description)
{
    long long height = -((long long)description.size * description.scale * SCREEN_DPI / 72);
    return int(std::clamp<long long>(height, INT32_MIN, INT32_MAX));
}

} // namespace

FontRep::FontRep(const FontDescription& description)
    : height_(font_height(description))
    , weight_(description.bold ? 700 : 400)
    , face_(description.face.substr(0, FACE_NAME_LIMIT))
{
    os::log() << u"dpiy=" << SCREEN_DPI << u" log_font.lfHeight=" << height_ << u"\n";
    font_ = platform::Font::create(
        { face_, height_, weight_, description.italic, description.underline });
    if (font_.is_empty())
        os::log() << u"ERROR: FontRep::FontRep() Failed to create font\n";
}

bool font_order(const FontDescription& a, const FontDescription& b)
{
    return std::tie(a.scale, a.size, a.bold, a.italic, a.underline, a.face)
        < std::tie(b.scale, b.size, b.bold, b.italic, b.underline, b.face);
}

const FontRep& FontRep::find(const FontDescription& description)
{
    static std::map<FontDescription, std::unique_ptr<FontRep>, decltype(&font_order)> cache(
        &font_order);
    auto& slot = cache[description];
    if (!slot)
        slot = std::make_unique<FontRep>(description);
    return *slot;
}

void draw_text(platform::Canvas& canvas, const FontDescription& font, const std::u16string& text,
    platform::Rect rectangle, unsigned format, const Color& color)
{
    platform::draw_text(canvas, FontRep::find(font).font(), text, rectangle,
        format | platform::TEXT_NOPREFIX,
        platform::make_color(color.red(), color.green(), color.blue()));
}

} // namespace skinner
