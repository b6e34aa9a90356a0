#include "app/CommandsFilter.h"

#include "platform/Convert.h"

FormSettings::CommandsFilter::CommandsFilter(const CommandList& commands)
    : commands_(commands)
{
}

std::u16string FormSettings::CommandsFilter::row_text(const Command& command)
{
    return command.name + u", " + command.phone;
}

void FormSettings::CommandsFilter::apply()
{
    rows_.clear();
    const std::u16string lower = platform::to_lower(text_);
    for (std::size_t i = 0; i < commands_.size(); ++i) {
        const Command& command = commands_[i];
        int index = static_cast<int>(i);
        if (text_.empty()) {
            rows_.push_back({ index, -1 });
            continue;
        }
        std::size_t at = platform::to_lower(command.name).find(lower);
        if (at != std::u16string::npos) {
            rows_.push_back({ index, static_cast<int>(at) });
            continue;
        }
        at = command.phone.find(text_);
        if (at != std::u16string::npos)
            rows_.push_back({ index, static_cast<int>(command.name.size() + 2 + at) });
    }
}

std::u16string FormSettings::CommandsFilter::text(int column, int row) const
{
    if (column != TEXT_COLUMN || row < 0 || row >= row_count())
        return {};
    return row_text(commands_[static_cast<std::size_t>(command_index(row))]);
}

std::vector<std::pair<int, int>> FormSettings::CommandsFilter::ranges(int column, int row) const
{
    if (column != TEXT_COLUMN || row < 0 || row >= row_count())
        return {};
    int match = rows_[static_cast<std::size_t>(row)].match;
    if (match < 0 || text_.empty())
        return {};
    return { { match, static_cast<int>(text_.size()) } };
}
