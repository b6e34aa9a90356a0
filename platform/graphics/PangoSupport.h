#pragma once

// Shared by the font and text files of this folder only: the Pango objects
// behind platform::Font.

#include <pango/pangocairo.h>

#include <string>

namespace platform {

struct FontImpl {
    PangoFontDescription* description { nullptr };
    std::string family;
    int pixel_size { 0 };
    int weight { 400 };
    bool italic { false };
    bool underline { false };

    ~FontImpl()
    {
        if (description)
            pango_font_description_free(description);
    }
};

// The process's font map, made on first use after adding the extra font
// folders to fontconfig.
PangoFontMap* font_map();
// A context of that font map for measuring and drawing.
PangoContext* font_context();

} // namespace platform
