#pragma once

#include "platform/graphics/SystemCursor.h"
#include "skinner/FontDescription.h"
#include "skinner/Keywords.h"
#include "skinner/Picture.h"
#include "skinner/SkinValues.h"

#include <string>

namespace skinner {

class Skin;

// The appearance of one visual state: a picture, a font and a colour read
// under one property name.
struct StateLook {
    Picture picture;
    FontDescription font;
    Color color;
};

// How a skinned element addresses its properties, and its typed readers.
// Every reader returns the default when the skin lacks the property.
//  - a control reads (kind of its container, its id, property);
//  - a top-level element reads ("", its node name, property);
//  - a form reads its form-level properties on its chosen variant, and
//    offers only integers, points and pictures (the rest give defaults);
//  - an element made without a skin node reads nothing.
// A missing form, control or node is the skin's fatal report.
class ElementProperties {
public:
    static ElementProperties control(
        Skin& skin, const std::u16string& kind, const std::u16string& id);
    static ElementProperties top_level(Skin& skin, const std::u16string& node);
    static ElementProperties form(Skin& skin, const std::u16string& kind);
    static ElementProperties no_skin();

    int integer(const std::u16string& name, int fallback) const;
    // The value times the skin's scale; the default is used as it is.
    int scaled_integer(const std::u16string& name, int fallback) const;
    Point point(const std::u16string& name, Point fallback) const;
    Color color(const std::u16string& name, Color fallback) const;
    std::u16string string(const std::u16string& name, const std::u16string& fallback) const;
    platform::SystemCursor cursor(const std::u16string& name) const;
    Picture picture(const std::u16string& name, const Picture& fallback) const;
    FontDescription font(const std::u16string& name, const FontDescription& fallback) const;
    // The description a font property falls back to when nothing else is given.
    FontDescription default_font() const;

    Anchor anchor(const std::u16string& name) const;
    HAlignment h_alignment(const std::u16string& name, HAlignment fallback) const;
    VAlignment v_alignment(const std::u16string& name, VAlignment fallback) const;
    Action action(const std::u16string& name, Action fallback) const;
    // An integer read as a flag: nonzero is on.
    bool flag(const std::u16string& name, bool fallback) const;

    // The look `name`; without the properties it looks like `fallback`, or
    // without one has no picture, the default font and colour 0 0 0 0.
    StateLook look(const std::u16string& name, const StateLook* fallback) const;

    // Whether the skin sets a property the element does not support; if so
    // it is logged as "Unsupported: " and the message, and shown in a
    // message box with the caption "Unsupported".
    bool check_unsupported_string(const std::u16string& name) const;
    bool check_unsupported_integer(const std::u16string& name) const;

    Skin* skin() const { return skin_; }
    const std::u16string& kind() const { return kind_; }
    const std::u16string& id() const { return id_; }
    bool is_form() const { return form_; }

private:
    ElementProperties(Skin* skin, std::u16string kind, std::u16string id, bool form);
    void report_unsupported(const char16_t* type, const std::u16string& name) const;

    Skin* skin_;
    std::u16string kind_;
    std::u16string id_;
    bool form_;
};

} // namespace skinner
