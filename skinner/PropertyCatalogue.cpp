#include "skinner/PropertyCatalogue.h"

#include "platform/MessageBox.h"
#include "skinner/Skin.h"

#include <algorithm>

namespace skinner {

namespace {

Point non_negative(Point point)
{
    return { std::max(point.x, 0), std::max(point.y, 0) };
}

constexpr const char16_t* button_state_names[BUTTON_STATES]
    = { u"Normal", u"NormalFocus", u"Pressed", u"Highlighted", u"HighlightedFocus", u"Disabled" };

// Which state each state falls back to; -1 for none.
constexpr int button_state_fallbacks[BUTTON_STATES] = { -1, 0, 0, 0, 3, 0 };

} // namespace

void ControlProperties::read(const ElementProperties& properties)
{
    cursor = properties.cursor(u"Cursor");
    anchor_x = properties.anchor(u"AnchorX");
    anchor_y = properties.anchor(u"AnchorY");
    focus = properties.picture(u"Focus", Picture());
    tab_order = properties.integer(u"TabOrder", 0);
    position = properties.point(u"Position", Point {});
    size = non_negative(properties.point(u"Size", Point {}));
    z_order = properties.integer(u"ZOrder", 0);
    for (const char16_t* name : { u"Visible", u"Enabled", u"Gestures", u"WantFocus" })
        properties.check_unsupported_integer(name);
}

void FormProperties::read(const ElementProperties& properties)
{
    size = non_negative(properties.point(u"Size", Point {}));
    size_no_buttons = non_negative(properties.point(u"SizeNoButtons", size));
    position = properties.point(u"Position", Point {});
    background = properties.picture(u"Background", Picture());
    start_position = properties.integer(u"StartPosition", 0);
    start_position_x = properties.integer(u"StartPositionX", 0);
    start_position_y = properties.integer(u"StartPositionY", 0);
}

void Borders::read(const ElementProperties& properties, const std::u16string& min_name,
    const std::u16string& max_name)
{
    min = non_negative(properties.point(min_name, Point {}));
    max = non_negative(properties.point(max_name, min));
}

void FrameProperties::read(const ElementProperties& properties)
{
    borders.read(properties);
    h_alignment = properties.h_alignment(u"HAlignment", HAlignment::CENTER);
    v_alignment = properties.v_alignment(u"VAlignment", VAlignment::VCENTER);
    normal = properties.look(u"Normal", nullptr);
    text = properties.string(u"Text", u"");
    wrap = properties.flag(u"Wrap", false);
    auto_size = properties.flag(u"AutoSize", false);
    ellipsis = properties.flag(u"Ellipsis", false);
}

ButtonLooks read_button_looks(const ElementProperties& properties, const std::u16string& prefix)
{
    ButtonLooks looks;
    for (std::size_t state = 0; state < BUTTON_STATES; ++state) {
        int fallback = button_state_fallbacks[state];
        looks[state] = properties.look(prefix + button_state_names[state],
            fallback < 0 ? nullptr : &looks[std::size_t(fallback)]);
    }
    return looks;
}

const StateLook& look_of(const ButtonLooks& looks, ButtonState state)
{
    return looks[std::size_t(state)];
}

void ButtonProperties::read(const ElementProperties& properties)
{
    borders.read(properties);
    looks = read_button_looks(properties, u"");
    text = properties.string(u"Text", u"");
    h_alignment = properties.h_alignment(u"HAlignment", HAlignment::CENTER);
    v_alignment = properties.v_alignment(u"VAlignment", VAlignment::VCENTER);
    action = properties.action(u"Action", Action::NOTHING);
}

void CheckBoxProperties::read(const ElementProperties& properties)
{
    ButtonProperties::read(properties);
    checked = properties.flag(u"Checked", checked);
    checked_looks = read_button_looks(properties, u"Checked");
    checked_text = properties.string(u"CheckedText", text);
}

void PictureControlProperties::read(const ElementProperties& properties)
{
    ButtonProperties::read(properties);
    picture_h_alignment = properties.h_alignment(u"PictureHAlignment", HAlignment::CENTER);
    picture_v_alignment = properties.v_alignment(u"PictureVAlignment", VAlignment::VCENTER);
    picture = properties.picture(u"Picture", picture);
}

void ProgressProperties::read(const ElementProperties& properties)
{
    background = properties.picture(u"Background", Picture());
    track = properties.picture(u"Track", Picture());
    track_disabled = properties.picture(u"TrackDisabled", Picture());
    orientation = properties.integer(u"Orientation", 3);
    progress = properties.picture(u"Progress", Picture());
    track_size = std::max(properties.scaled_integer(u"TrackSize", 0), 0);
}

void PanelProperties::read(const ElementProperties& properties)
{
    form_template = properties.string(u"FormTemplate", u"");
    background = properties.picture(u"Background", Picture());
    if (!form_template.empty() && properties.skin())
        background = ElementProperties::form(*properties.skin(), form_template)
                         .picture(u"Background", background);
}

void AutoScrollPanelProperties::read(const ElementProperties& properties)
{
    PanelProperties::read(properties);
    kind_scroll = properties.string(u"KindScroll", u"");
    kind_hscroll = properties.string(u"KindHScroll", u"");
    scroll_width = std::max(properties.scaled_integer(u"ScrollWidth", 0), 0);
    scroll_height = std::max(properties.scaled_integer(u"ScrollHeight", scroll_width), 0);
    borders.read(properties);
    scroll_borders.read(properties, u"ScrollBorderMin", u"ScrollBorderMax");
}

void ScrollBarProperties::read(const ElementProperties& properties)
{
    kind_min = properties.string(u"KindMin", u"");
    kind_max = properties.string(u"KindMax", u"");
    kind_space = properties.string(u"KindSpace", u"");
    kind_track = properties.string(u"KindTrack", u"");
    vertical = properties.flag(u"Vertical", false);
    min_button_size = std::max(properties.scaled_integer(u"MinButtonSize", 0), 0);
    max_button_size = std::max(properties.scaled_integer(u"MaxButtonSize", 0), 0);
    for (const char16_t* name : { u"Min", u"Max", u"Page" })
        properties.check_unsupported_integer(name);
}

void EditProperties::read(const ElementProperties& properties)
{
    borders.read(properties);
    properties.check_unsupported_string(u"InputMode");
    picture_normal = properties.picture(u"Normal", Picture());
    picture_highlighted = properties.picture(u"Highlighted", picture_normal);
    picture_disabled = properties.picture(u"Disabled", picture_normal);
    picture_readonly = properties.picture(u"Readonly", picture_disabled);
    picture_selection = properties.picture(u"Selection", Picture());
    picture_highlighted_focused = properties.picture(u"HighlightedFocused", picture_highlighted);
    picture_normal_focused = properties.picture(u"NormalFocused", picture_normal);
    font_normal = properties.font(u"Normal", properties.default_font());
    font_disabled = properties.font(u"Disabled", font_normal);
    font_readonly = properties.font(u"Readonly", font_disabled);
    color_normal = properties.color(u"Normal", Color {});
    color_disabled = properties.color(u"Disabled", color_normal);
    color_readonly = properties.color(u"Readonly", color_disabled);
    color_selection = properties.color(u"Selection", color_normal);
    color_selection_focused = properties.color(u"SelectionFocused", color_selection);
    properties.check_unsupported_integer(u"Readonly");
    if (properties.string(u"PasswordChar", u"199901") != u"199901")
        platform::message_box(u"Unsupported", u"PasswordChar");
}

void GridProperties::read(const ElementProperties& properties)
{
    item_height = std::max(properties.scaled_integer(u"ItemHeight", 40), 1);
    borders.read(properties);
    item_normal = properties.look(u"ItemNormal", nullptr);
    item_selection = properties.look(u"ItemSelection", &item_normal);
    item_highlight = properties.look(u"ItemHighlight", &item_normal);
    item_selection_highlight = properties.look(u"ItemSelectionHighlight", &item_selection);
    header_normal = properties.look(u"HeaderNormal", &item_normal);
    normal = properties.picture(u"Normal", Picture());
    highlighted = properties.picture(u"Highlighted", normal);
    disabled = properties.picture(u"Disabled", normal);
}

void GridFilterProperties::read(const ElementProperties& properties)
{
    GridProperties::read(properties);
    item_filtered = properties.look(u"ItemFiltered", &item_normal);
    item_selection_filtered = properties.look(u"ItemSelectionFiltered", &item_filtered);
}

} // namespace skinner
