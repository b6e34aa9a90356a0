#pragma once

#include <memory>
#include <string>

namespace platform {

// What a font is asked for. `height` follows the device's convention: a
// negative value is the character (em) height in pixels, a positive value
// the cell height (the line height) in pixels, 0 the default height.
struct FontSpec {
    std::u16string face { u"Tahoma" };
    int height { 0 };
    int weight { 400 };
    bool italic { false };
    bool underline { false };
};

struct FontImpl;

// A system font: fontconfig picks the installed face nearest to the one
// asked for. Copies share the font. An empty Font stands for the system
// font. User-interface thread only.
class Font {
public:
    Font() = default;

    // An empty Font when no face at all can be loaded.
    static Font create(const FontSpec& spec);

    bool is_empty() const { return !impl_; }
    // The family that was actually chosen (UTF-8), empty for an empty font.
    std::string family() const;
    // The em height in pixels used for drawing.
    int pixel_size() const;
    int weight() const;
    bool italic() const;
    bool underline() const;

    const FontImpl* impl() const { return impl_.get(); }

private:
    std::shared_ptr<const FontImpl> impl_;
};

// Largest em height in pixels that a font is made with; larger requests
// are reduced to it.
constexpr int MAX_FONT_PIXELS = 1000;
// The em height used for height 0 and for the system font.
constexpr int DEFAULT_FONT_PIXELS = 13;

} // namespace platform
