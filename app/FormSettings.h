#pragma once

#include "app/Command.h"
#include "skinner/ControlButton.h"
#include "skinner/ControlMenuMain.h"
#include "skinner/ControlPanel.h"
#include "skinner/ControlProgress.h"
#include "skinner/Form.h"
#include "skinner/MenuMainButton.h"
#include "skinner/MenuMainSubMenu.h"

#include <memory>
#include <string>
#include <vector>

// The settings mode's main window: every Command of the document in a grid,
// with a mark on those that have a voice tag; recording, playing and deleting
// tags; the options, the skin and the language in its main menu; backup and
// restore of all tags, help and About. Built on the settings skin's form
// "FormSettings"; runs on the user-interface thread and reaches the model
// through the Document singleton, which must outlive it.
class FormSettings : public skinner::Form {
public:
    class CommandsFilter;
    class ControlGridCommands;

    FormSettings(skinner::Form* parent, skinner::Skin& skin);
    ~FormSettings() override;

    // Applies a command line, at start-up or handed over by a second start:
    // an empty one asks whether to record tags now (no: the window is
    // minimised and the answer is false); one that starts with a decimal
    // number refreshes the list and selects that contact's first row.
    bool start(const std::u16string& command_line);

    // Runs one of the form's commands ("Record", "Play", "Refresh", "Skin_" +
    // name, ...); false for a text that is none of them.
    bool run_command(const std::u16string& command);

    // The ids of the main menu's entries as the next opening shows them,
    // depth first, a sub-menu before its entries.
    std::vector<std::u16string> menu_entries() const;
    // The main menu's entry of that id as the next opening shows it; nullptr
    // for none.
    const skinner::MenuMainButton* menu_entry(const std::u16string& id) const;
    // The commands the grid's context menu offers for a row.
    std::vector<std::u16string> context_commands(int row) const;

    // The Command of a grid row; nullptr for none.
    const Command* command_at(int row) const;
    const Command* selected_command() const;
    ControlGridCommands& grid() { return *grid_; }
    const CommandsFilter& filter() const { return *filter_; }
    bool is_recording() const { return recording_; }

    // The language changed: every text is read again.
    void reload() override;
    void on_command(const std::u16string& text) override;
    void on_command_line(const std::u16string& text) override;
    void on_control(skinner::Control& sender) override;
    void on_selection_changed(skinner::Control& sender, int row) override;
    void on_item_activated(skinner::Control& sender, int row) override;
    void on_item_hold(skinner::Control& sender, int row, platform::Point point) override;
    void on_menu_opening(skinner::Control& sender) override;
    void on_timer(unsigned timer_id) override;

private:
    friend class ControlGridCommands;

    void record();
    void play();
    void delete_tag();
    void refresh();
    void toggle_setting(bool& setting);
    // Switches the matching between the classic and the precise engine.
    void toggle_engine();
    // Saves the settings; a file that cannot be written is reported.
    void save_settings();
    void choose_skin(const std::u16string& name);
    void choose_language(const std::u16string& name);
    // A backup file chosen in the file explorer ("vcb"); empty for none.
    std::u16string pick_backup_file(const std::u16string& title_key);
    void backup();
    void restore();
    void help();
    void about();

    // The filter text changed: the rows are computed again.
    void set_filter_text(const std::u16string& text);
    void open_context_menu(int row);
    // The rows were computed again from the list: the same Command (same id
    // and phone) stays selected when it is still shown.
    void update_rows(const Command* keep_selected);
    void select_contact(std::int32_t id);
    void update_buttons();
    void show_title();
    void show_filter();
    void recording_tick();
    void set_recording_mode(bool recording);
    void rebuild_menu();
    void clear_menu();
    skinner::MenuMainButton& add_entry(skinner::MenuMainSubMenu& parent, const std::u16string& id,
        const std::u16string& text, bool checked = false);
    skinner::MenuMainSubMenu& add_sub_menu(
        skinner::MenuMainSubMenu& parent, const std::u16string& id, const std::u16string& text);
    std::u16string text_of(const std::u16string& key) const;
    void warn(const std::u16string& key);

    std::unique_ptr<CommandsFilter> filter_;
    skinner::ControlMenuMain menu_;
    skinner::MenuMainSubMenu menu_key_;
    std::unique_ptr<skinner::MenuMainButton> record_key_;
    skinner::ControlProgress progress_;
    skinner::ControlButton record_button_;
    skinner::ControlButton delete_button_;
    skinner::ControlButton play_button_;
    skinner::ControlPanel message_;
    std::unique_ptr<ControlGridCommands> grid_;
    // The main menu's entries in creation order; destroyed in reverse, so
    // that a sub-menu's entries go before it.
    std::vector<std::unique_ptr<skinner::MenuMainButton>> menu_entries_;
    Command recorded_;
    bool recording_ { false };
    unsigned timer_ { 0 };
};
