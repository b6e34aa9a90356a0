#include "app/ControlGridCommands.h"

#include "app/CommandsFilter.h"
#include "app/Document.h"
#include "os/Capabilities.h"
#include "skinner/KeyCodes.h"
#include "skinner/Skin.h"

#include <algorithm>

FormSettings::ControlGridCommands::ControlGridCommands(
    FormSettings& form, const CommandsFilter& filter)
    : ControlGridFilter(form, u"grid")
    , form_(form)
    , commands_filter_(filter)
{
    set_filter(&commands_filter_);
    read_icons();
}

void FormSettings::ControlGridCommands::read_properties()
{
    ControlGridFilter::read_properties();
    read_icons();
}

void FormSettings::ControlGridCommands::read_icons()
{
    const skinner::ElementProperties& props = grid_properties();
    icon_contact_ = props.picture(u"IconContact", {});
    icon_assigned_ = props.picture(u"IconAssigned", {});
    // The grid's "Gap", else the form's.
    skinner::Skin* skin = props.skin();
    int form_gap = skin ? skin->form_integer(u"FormSettings", u"Gap", 4) : 4;
    gap_ = props.integer(u"Gap", form_gap) * (skin ? skin->scale() : 1);
}

int FormSettings::ControlGridCommands::row_count() const
{
    return commands_filter_.row_count();
}

int FormSettings::ControlGridCommands::column_width(int column) const
{
    if (column == CommandsFilter::TEXT_COLUMN)
        return -1;
    const skinner::Picture& icon = column == 0 ? icon_contact_ : icon_assigned_;
    return icon.natural_size().width + 2 * gap_;
}

std::u16string FormSettings::ControlGridCommands::cell_text(int column, int row) const
{
    return commands_filter_.text(column, row);
}

void FormSettings::ControlGridCommands::paint_cell(int column, int row, platform::Canvas& canvas,
    platform::Rect rect, bool selected, bool highlighted)
{
    if (column == CommandsFilter::TEXT_COLUMN) {
        ControlGridFilter::paint_cell(column, row, canvas, rect, selected, highlighted);
        return;
    }
    cell_look(selected, highlighted).picture.draw(canvas, rect);
    if (column == 0) {
        draw_centred(icon_contact_, canvas, rect);
        return;
    }
    const Command* command = form_.command_at(row);
    if (command && command->has_tag())
        draw_centred(icon_assigned_, canvas, rect);
}

void FormSettings::ControlGridCommands::draw_centred(
    const skinner::Picture& icon, platform::Canvas& canvas, platform::Rect rect)
{
    platform::Size size = icon.natural_size();
    int left = rect.left + (rect.width() - size.width) / 2;
    int top = rect.top + (rect.height() - size.height) / 2;
    icon.draw(canvas, { left, top, left + size.width, top + size.height });
}

int FormSettings::ControlGridCommands::row_after_key(int key, int row, int count)
{
    if (count <= 0)
        return -1;
    int last = count - 1;
    switch (key) {
    case skinner::KEY_UP:
        return row <= 0 ? last : row - 1;
    case skinner::KEY_DOWN:
        return row < 0 || row >= last ? 0 : row + 1;
    case skinner::KEY_LEFT:
        return row <= 0 ? last : std::max(0, row - JUMP_ROWS);
    case skinner::KEY_RIGHT:
        return row < 0 ? 0 : row >= last ? 0 : std::min(last, row + JUMP_ROWS);
    default:
        return row;
    }
}

bool FormSettings::ControlGridCommands::key_down(int key)
{
    // While a tag is recorded the grid is disabled, and the filter stays.
    if (!is_enabled())
        return false;
    switch (key) {
    case skinner::KEY_UP:
    case skinner::KEY_DOWN:
    case skinner::KEY_LEFT:
    case skinner::KEY_RIGHT:
        if (row_count() > 0)
            set_selection(row_after_key(key, selection(), row_count()));
        return true;
    case skinner::KEY_BACKSPACE:
        form_.set_filter_text(commands_filter_.text().empty()
                ? std::u16string()
                : commands_filter_.text().substr(0, commands_filter_.text().size() - 1));
        return true;
    case skinner::KEY_ESCAPE:
        // A Smartphone's back key comes as Escape followed by Backspace:
        // Escape only keeps the back key from leaving while there is text,
        // and the Backspace removes the character.
        return os::is_smartphone() && !commands_filter_.text().empty();
    case skinner::KEY_RETURN:
        if (selection() >= 0)
            form_.open_context_menu(selection());
        return true;
    default:
        return ControlGridFilter::key_down(key);
    }
}

bool FormSettings::ControlGridCommands::text_input(const std::u16string& text)
{
    if (!is_enabled())
        return false;
    std::u16string typed;
    for (char16_t c : text)
        if (c >= 32)
            typed += c;
    if (typed.empty())
        return false;
    form_.set_filter_text(commands_filter_.text() + typed);
    return true;
}
