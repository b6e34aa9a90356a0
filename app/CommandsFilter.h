#pragma once

#include "app/Command.h"
#include "app/FormSettings.h"
#include "skinner/ControlGridFilter.h"

#include <string>
#include <vector>

// Which Commands the settings grid shows, and the part of each row that
// matches the typed text. A Command matches when the lower-cased text occurs
// in its lower-cased name, or, as typed, in its phone number; an empty text
// shows every Command in list order. The row text is name + ", " + phone.
class FormSettings::CommandsFilter final : public skinner::ControlGridFilter::Filter {
public:
    // The column of the grid that shows the row text.
    static constexpr int TEXT_COLUMN = 1;

    explicit CommandsFilter(const CommandList& commands);

    const std::u16string& text() const { return text_; }
    void set_text(std::u16string text) { text_ = std::move(text); }
    // Recomputes the visible rows from the list.
    void apply();

    int row_count() const { return static_cast<int>(rows_.size()); }
    // The list index of a visible row.
    int command_index(int row) const { return rows_[static_cast<std::size_t>(row)].index; }
    static std::u16string row_text(const Command& command);

    std::u16string text(int column, int row) const override;
    std::vector<std::pair<int, int>> ranges(int column, int row) const override;

private:
    struct Row {
        int index;
        // Where the text first occurs in the row text; -1 without a filter.
        int match;
    };

    const CommandList& commands_;
    std::u16string text_;
    std::vector<Row> rows_;
};
