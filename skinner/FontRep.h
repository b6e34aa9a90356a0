#pragma once

#include "platform/graphics/Canvas.h"
#include "platform/graphics/Font.h"
#include "skinner/FontDescription.h"
#include "skinner/SkinValues.h"

#include <string>

namespace skinner {

// The system font for a font description: height -(size x scale x 96 / 72)
// pixels, weight 700 when bold (else 400), italic and underline from the
// flags, the face name cut to 31 characters. When no font can be made it
// stays empty and text draws in the system font.
class FontRep {
public:
    explicit FontRep(const FontDescription& description);

    int height() const { return height_; }
    int weight() const { return weight_; }
    const std::u16string& face() const { return face_; }
    const platform::Font& font() const { return font_; }

    // The font of a description, made once and kept for the rest of the
    // process. User-interface thread only.
    static const FontRep& find(const FontDescription& description);

private:
    int height_;
    int weight_;
    std::u16string face_;
    platform::Font font_;
};

// The order of the font cache: scale, then size, then bold, italic,
// underline, then face name.
bool font_order(const FontDescription& a, const FontDescription& b);

// Draws text in a skin font and the red, green and blue of a skin colour,
// with a transparent background and without prefix processing.
void draw_text(platform::Canvas& canvas, const FontDescription& font, const std::u16string& text,
    platform::Rect rectangle, unsigned format, const Color& color);

} // namespace skinner
