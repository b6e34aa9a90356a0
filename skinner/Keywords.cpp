#include "skinner/Keywords.h"

#include "platform/graphics/TextRenderer.h"

#include <utility>

namespace skinner {

namespace {

template<typename T, std::size_t N>
bool look_up(const std::pair<const char16_t*, T> (&table)[N], const std::u16string& text, T& value)
{
    for (auto& [keyword, entry] : table) {
        if (text == keyword) {
            value = entry;
            return true;
        }
    }
    return false;
}

constexpr std::pair<const char16_t*, Anchor> anchors[] = {
    { u"MIN_SIDE", Anchor::MIN_SIDE },
    { u"BOTH_SIDE", Anchor::BOTH_SIDE },
    { u"MAX_SIDE", Anchor::MAX_SIDE },
    { u"RATIO", Anchor::RATIO },
    { u"CENTER", Anchor::CENTER },
};

constexpr std::pair<const char16_t*, HAlignment> h_alignments[] = {
    { u"LEFT", HAlignment::LEFT },
    { u"CENTER", HAlignment::CENTER },
    { u"RIGHT", HAlignment::RIGHT },
};

constexpr std::pair<const char16_t*, VAlignment> v_alignments[] = {
    { u"TOP", VAlignment::TOP },
    { u"VCENTER", VAlignment::VCENTER },
    { u"BOTTOM", VAlignment::BOTTOM },
};

constexpr std::pair<const char16_t*, Action> actions[] = {
    { u"NOTHING", Action::NOTHING },
    { u"CAPTION", Action::CAPTION },
    { u"BORDER_LEFT", Action::BORDER_LEFT },
    { u"BORDER_RIGHT", Action::BORDER_RIGHT },
    { u"BORDER_BOTTOM", Action::BORDER_BOTTOM },
    { u"BORDER_TOP", Action::BORDER_TOP },
    { u"CORNER_BOTTOM_LEFT", Action::CORNER_BOTTOM_LEFT },
    { u"CORNER_BOTTOM_RIGHT", Action::CORNER_BOTTOM_RIGHT },
    { u"CORNER_TOP_LEFT", Action::CORNER_TOP_LEFT },
    { u"CORNER_TOP_RIGHT", Action::CORNER_TOP_RIGHT },
    { u"BUTTON_CLOSE", Action::BUTTON_CLOSE },
    { u"BUTTON_MINIMIZE", Action::BUTTON_MINIMIZE },
    { u"BUTTON_MAXIMIZE", Action::BUTTON_MAXIMIZE },
    { u"BUTTON_SYSMENU", Action::BUTTON_SYSMENU },
    { u"BUTTON_OK", Action::BUTTON_OK },
    { u"BUTTON_CANCEL", Action::BUTTON_CANCEL },
    { u"BUTTON_YES", Action::BUTTON_YES },
    { u"BUTTON_NO_MENU", Action::BUTTON_NO_MENU },
};

constexpr std::pair<const char16_t*, platform::SystemCursor> cursors[] = {
    { u"ARROW", platform::SystemCursor::Arrow },
    { u"HAND", platform::SystemCursor::Hand },
    { u"IBEAM", platform::SystemCursor::IBeam },
    { u"SIZENESW", platform::SystemCursor::SizeNESW },
    { u"SIZENS", platform::SystemCursor::SizeNS },
    { u"SIZENWSE", platform::SystemCursor::SizeNWSE },
    { u"SIZEWE", platform::SystemCursor::SizeWE },
    { u"SIZEALL", platform::SystemCursor::SizeAll },
    { u"WAIT", platform::SystemCursor::Wait },
    { u"NO", platform::SystemCursor::No },
    { u"HELP", platform::SystemCursor::Help },
    { u"APPSTARTING", platform::SystemCursor::AppStarting },
};

} // namespace

Anchor anchor_keyword(const std::u16string& text)
{
    Anchor value = Anchor::MIN_SIDE;
    look_up(anchors, text, value);
    return value;
}

HAlignment h_alignment_keyword(const std::u16string& text, HAlignment fallback)
{
    look_up(h_alignments, text, fallback);
    return fallback;
}

VAlignment v_alignment_keyword(const std::u16string& text, VAlignment fallback)
{
    look_up(v_alignments, text, fallback);
    return fallback;
}

Action action_keyword(const std::u16string& text, Action fallback)
{
    look_up(actions, text, fallback);
    return fallback;
}

platform::SystemCursor cursor_keyword(const std::u16string& text)
{
    platform::SystemCursor value = platform::SystemCursor::None;
    look_up(cursors, text, value);
    return value;
}

unsigned text_format(HAlignment horizontal, VAlignment vertical)
{
    unsigned format = 0;
    if (horizontal == HAlignment::CENTER)
        format |= platform::TEXT_CENTER;
    else if (horizontal == HAlignment::RIGHT)
        format |= platform::TEXT_RIGHT;
    if (vertical == VAlignment::VCENTER)
        format |= platform::TEXT_VCENTER;
    else if (vertical == VAlignment::BOTTOM)
        format |= platform::TEXT_BOTTOM;
    return format;
}

} // namespace skinner
