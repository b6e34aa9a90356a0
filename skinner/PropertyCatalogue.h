#pragma once

#include "skinner/ElementProperties.h"

#include <array>

namespace skinner {

// What each class of skinned element reads from its skin when it is
// created (and again when the skin or language changes), with the defaults
// that apply when the skin lacks a property. Reading also makes the
// element's reports of unsupported properties, in the order listed.
//
// Sizes that must not be negative (sizes, borders, track and button sizes)
// are raised to 0, and "ItemHeight" to 1, so that no later layout divides
// by or allocates from a negative or zero value.

struct ControlProperties {
    platform::SystemCursor cursor { platform::SystemCursor::None };
    Anchor anchor_x { Anchor::MIN_SIDE };
    Anchor anchor_y { Anchor::MIN_SIDE };
    Picture focus;
    int tab_order { 0 };
    Point position;
    Point size;
    int z_order { 0 };

    void read(const ElementProperties& properties);
};

struct FormProperties {
    Point size;
    Point size_no_buttons;
    Point position;
    Picture background;
    int start_position { 0 };
    int start_position_x { 0 };
    int start_position_y { 0 };

    void read(const ElementProperties& properties);
};

// The border insets shared by frames, buttons, edits and grids: "BorderMin"
// at the top-left, "BorderMax" (default BorderMin) at the bottom-right.
struct Borders {
    Point min;
    Point max;

    void read(const ElementProperties& properties, const std::u16string& min_name = u"BorderMin",
        const std::u16string& max_name = u"BorderMax");
};

struct FrameProperties {
    Borders borders;
    HAlignment h_alignment { HAlignment::CENTER };
    VAlignment v_alignment { VAlignment::VCENTER };
    StateLook normal;
    std::u16string text;
    bool wrap { false };
    bool auto_size { false };
    bool ellipsis { false };

    void read(const ElementProperties& properties);
};

// The visual states of a button, in the order of its looks.
enum class ButtonState { Normal, NormalFocus, Pressed, Highlighted, HighlightedFocus, Disabled };
constexpr std::size_t BUTTON_STATES = 6;
using ButtonLooks = std::array<StateLook, BUTTON_STATES>;

// The six looks named prefix + state name: NormalFocus, Pressed,
// Highlighted and Disabled fall back to Normal, HighlightedFocus to
// Highlighted, Normal to nothing.
ButtonLooks read_button_looks(const ElementProperties& properties, const std::u16string& prefix);
const StateLook& look_of(const ButtonLooks& looks, ButtonState state);

struct ButtonProperties {
    Borders borders;
    ButtonLooks looks;
    std::u16string text;
    HAlignment h_alignment { HAlignment::CENTER };
    VAlignment v_alignment { VAlignment::VCENTER };
    Action action { Action::NOTHING };

    void read(const ElementProperties& properties);
};

struct CheckBoxProperties : ButtonProperties {
    bool checked { false };
    ButtonLooks checked_looks;
    std::u16string checked_text;

    // `checked` keeps the current state when the skin does not set it.
    void read(const ElementProperties& properties);
};

struct PictureControlProperties : ButtonProperties {
    HAlignment picture_h_alignment { HAlignment::CENTER };
    VAlignment picture_v_alignment { VAlignment::VCENTER };
    Picture picture;

    // `picture` keeps the picture set by code when the skin does not set one.
    void read(const ElementProperties& properties);
};

struct ProgressProperties {
    Picture background;
    Picture track;
    Picture track_disabled;
    int orientation { 3 };
    Picture progress;
    int track_size { 0 };

    void read(const ElementProperties& properties);
};

struct PanelProperties {
    std::u16string form_template;
    Picture background;

    void read(const ElementProperties& properties);
};

struct AutoScrollPanelProperties : PanelProperties {
    std::u16string kind_scroll;
    std::u16string kind_hscroll;
    int scroll_width { 0 };
    int scroll_height { 0 };
    Borders borders;
    Borders scroll_borders;

    void read(const ElementProperties& properties);
};

struct ScrollBarProperties {
    std::u16string kind_min;
    std::u16string kind_max;
    std::u16string kind_space;
    std::u16string kind_track;
    bool vertical { false };
    int min_button_size { 0 };
    int max_button_size { 0 };

    void read(const ElementProperties& properties);
};

struct EditProperties {
    Borders borders;
    Picture picture_normal;
    Picture picture_highlighted;
    Picture picture_disabled;
    Picture picture_readonly;
    Picture picture_selection;
    Picture picture_highlighted_focused;
    Picture picture_normal_focused;
    FontDescription font_normal;
    FontDescription font_disabled;
    FontDescription font_readonly;
    Color color_normal;
    Color color_disabled;
    Color color_readonly;
    Color color_selection;
    Color color_selection_focused;

    void read(const ElementProperties& properties);
};

struct GridProperties {
    int item_height { 40 };
    Borders borders;
    StateLook item_normal;
    StateLook item_selection;
    StateLook item_highlight;
    StateLook item_selection_highlight;
    StateLook header_normal;
    Picture normal;
    Picture highlighted;
    Picture disabled;

    void read(const ElementProperties& properties);
};

struct GridFilterProperties : GridProperties {
    StateLook item_filtered;
    StateLook item_selection_filtered;

    void read(const ElementProperties& properties);
};

} // namespace skinner
