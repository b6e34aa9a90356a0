#include "skinner/ControlFrame.h"

#include "platform/graphics/TextRenderer.h"
#include "skinner/DumpText.h"
#include "skinner/FontRep.h"

#include <algorithm>

namespace skinner {

namespace {

std::u16string& separator()
{
    static std::u16string text;
    return text;
}

} // namespace

ControlFrame::ControlFrame(
    Container& container, std::u16string id, ControlKind kind, std::u16string node)
    : Control(container, std::move(id), kind, std::move(node))
{
    read_frame_properties();
}

void ControlFrame::set_separator(const std::u16string& text)
{
    separator() = text;
}

void ControlFrame::read_properties()
{
    Control::read_properties();
    read_frame_properties();
}

void ControlFrame::read_frame_properties()
{
    ElementProperties props = properties();
    border_min_ = props.point(u"BorderMin", {});
    border_max_ = props.point(u"BorderMax", border_min_);
    h_alignment_ = props.h_alignment(u"HAlignment", HAlignment::CENTER);
    v_alignment_ = props.v_alignment(u"VAlignment", VAlignment::VCENTER);
    normal_ = props.look(u"Normal", nullptr);
    text_ = props.string(u"Text", text_);
    wrap_ = props.flag(u"Wrap", false);
    auto_size_ = props.flag(u"AutoSize", false);
    ellipsis_ = props.flag(u"Ellipsis", false);
    lay_out_text();
}

void ControlFrame::set_text(const std::u16string& text)
{
    if (text == text_)
        return;
    text_ = text;
    lay_out_text();
    repaint();
}

void ControlFrame::set_rect(platform::Point position, platform::Size size)
{
    bool resized = size != this->size();
    Control::set_rect(position, size);
    if (resized)
        lay_out_text();
}

void ControlFrame::lay_out_text()
{
    const platform::Font& font = FontRep::find(normal_.font).font();
    int width = size().width - border_min_.x - border_max_.x;
    if (wrap_) {
        lines_ = break_lines(font, text_, separator(), width);
    } else {
        lines_ = { { text_, platform::measure_text(font, text_) } };
    }
    int widest = 0;
    int height = 0;
    for (const TextLine& line : lines_) {
        widest = std::max(widest, line.size.width);
        height += line.size.height;
    }
    extent_ = { widest + border_min_.x + border_max_.x, height + border_min_.y + border_max_.y };
}

platform::Size ControlFrame::preferred_size() const
{
    platform::Size design = design_size();
    if (!auto_size_)
        return design;
    return { std::max(design.width, extent_.width), std::max(design.height, extent_.height) };
}

platform::Rect ControlFrame::inset_rect() const
{
    platform::Rect r = rect();
    return { r.left + border_min_.x, r.top + border_min_.y, r.right - border_max_.x,
        r.bottom - border_max_.y };
}

void ControlFrame::paint(platform::Canvas& canvas)
{
    normal_.picture.draw(canvas, rect());
    Control::paint(canvas);
    if (text_.empty())
        return;
    const platform::Font& font = FontRep::find(normal_.font).font();
    platform::Rect inset = inset_rect();
    if (lines_.size() == 1) {
        if (v_alignment_ == VAlignment::VCENTER) {
            int vertical = std::min(border_min_.y, border_max_.y);
            inset.top = rect().top + vertical;
            inset.bottom = rect().bottom - vertical;
        }
        std::u16string shown = ellipsis_
            ? shorten_with_ellipsis(font, lines_[0].text, inset.width())
            : lines_[0].text;
        draw_text(canvas, normal_.font, shown, inset,
            text_format(h_alignment_, v_alignment_) | platform::TEXT_SINGLELINE, normal_.color);
        return;
    }
    int total = 0;
    for (const TextLine& line : lines_)
        total += line.size.height;
    int y = inset.top;
    if (v_alignment_ == VAlignment::VCENTER)
        y = std::max(inset.top, inset.top + (inset.height() - total) / 2);
    else if (v_alignment_ == VAlignment::BOTTOM)
        y = inset.bottom - total;
    unsigned format = text_format(h_alignment_, VAlignment::TOP) | platform::TEXT_SINGLELINE;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const TextLine& line = lines_[i];
        bool next_fits = i + 1 < lines_.size()
            && y + line.size.height + lines_[i + 1].size.height <= inset.bottom;
        if (y + line.size.height > inset.bottom)
            break;
        std::u16string shown = line.text;
        // The last line that fits stands for the rest.
        if (ellipsis_ && i + 1 < lines_.size() && !next_fits)
            shown = shorten_with_ellipsis(font, line.text + u'\u2026', inset.width());
        draw_text(canvas, normal_.font, shown, { inset.left, y, inset.right, y + line.size.height },
            format, normal_.color);
        y += line.size.height;
    }
}

std::string ControlFrame::describe() const
{
    return "text=" + dump_text(text_);
}

} // namespace skinner
