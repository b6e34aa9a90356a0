#include "skinner/ControlCheckBox.h"

#include "skinner/DumpText.h"

namespace skinner {

ControlCheckBox::ControlCheckBox(
    Container& container, std::u16string id, ControlKind kind, std::u16string node)
    : ControlButtonBase(container, std::move(id), kind, std::move(node))
{
    read_check_box_properties();
}

void ControlCheckBox::read_properties()
{
    // Without "Text" in the skin the button keeps the text it shows; while
    // checked that is the checked text, which must not become the
    // unchecked one.
    if (text() != unchecked_text_)
        show_text(unchecked_text_);
    ControlButtonBase::read_properties();
    read_check_box_properties();
}

void ControlCheckBox::read_check_box_properties()
{
    ElementProperties props = properties();
    // The button has just read "Text": it is the unchecked text.
    unchecked_text_ = text();
    checked_text_ = props.string(u"CheckedText", unchecked_text_);
    checked_ = props.flag(u"Checked", checked_);
    checked_looks_ = read_looks(props, u"Checked");
    show_current_text();
}

const StateLook& ControlCheckBox::look(State state) const
{
    if (!checked_)
        return ControlButtonBase::look(state);
    return checked_looks_[static_cast<std::size_t>(state)];
}

void ControlCheckBox::set_checked(bool checked)
{
    if (checked == checked_)
        return;
    checked_ = checked;
    if (impl())
        impl()->checked_changed();
    show_current_text();
    repaint();
}

void ControlCheckBox::show_current_text()
{
    const std::u16string& wanted = checked_ ? checked_text_ : unchecked_text_;
    if (wanted != text())
        show_text(wanted);
}

void ControlCheckBox::set_text(const std::u16string& text)
{
    checked_text_ = text;
    unchecked_text_ = text;
    show_current_text();
}

void ControlCheckBox::set_checked_text(const std::u16string& text)
{
    checked_text_ = text;
    show_current_text();
}

void ControlCheckBox::set_unchecked_text(const std::u16string& text)
{
    unchecked_text_ = text;
    show_current_text();
}

std::string ControlCheckBox::describe() const
{
    return std::string("checked=") + (checked_ ? "1" : "0") + " text=" + dump_text(text());
}

} // namespace skinner
