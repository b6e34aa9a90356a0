#pragma once

#include "app/FormSettings.h"
#include "skinner/ControlGridFilter.h"

// The settings grid: one row per Command that the filter shows, in three
// columns: the skin's "IconContact", the row text (its matching part marked),
// and "IconAssigned" for a Command with a voice tag. Icons are centred in
// columns as wide as the icon and the skin's "Gap" on each side.
//
// Its keys: Return opens the row's context menu; Up and Down move by one
// row and wrap around; Left and Right move by ten rows, stopping at the ends
// and wrapping from them; typed characters, Backspace (and Escape on a
// Smartphone) edit the filter text.
class FormSettings::ControlGridCommands final : public skinner::ControlGridFilter {
public:
    static constexpr int JUMP_ROWS = 10;

    ControlGridCommands(FormSettings& form, const CommandsFilter& filter);

    int row_count() const override;
    int column_count() const override { return 3; }
    int column_width(int column) const override;
    std::u16string cell_text(int column, int row) const override;
    void paint_cell(int column, int row, platform::Canvas& canvas, platform::Rect rect,
        bool selected, bool highlighted) override;

    bool key_down(int key) override;
    bool text_input(const std::u16string& text) override;
    void read_properties() override;
    const char* class_name() const override { return "ControlGridCommands"; }

    // The row a key moves the selection to from `row` among `count` rows.
    static int row_after_key(int key, int row, int count);

private:
    void read_icons();
    void draw_centred(const skinner::Picture& icon, platform::Canvas& canvas, platform::Rect rect);

    FormSettings& form_;
    const CommandsFilter& commands_filter_;
    skinner::Picture icon_contact_;
    skinner::Picture icon_assigned_;
    int gap_ { 4 };
};
