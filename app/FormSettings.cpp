#include "app/FormSettings.h"

#include <algorithm>

#include "app/CommandLineNumber.h"
#include "app/CommandsFilter.h"
#include "app/ControlGridCommands.h"
#include "app/Document.h"
#include "app/FormMessage.h"
#include "app/TagBackup.h"
#include "app/dialogs/FileExplorerDialog.h"
#include "app/dialogs/FormAbout.h"
#include "audio/AudioBuffer.h"
#include "audio/CaptureFormat.h"
#include "os/Capabilities.h"
#include "os/Execute.h"
#include "os/LanguageFinder.h"
#include "os/Log.h"
#include "os/Path.h"
#include "platform/Screen.h"
#include "platform/Window.h"
#include "skinner/ControlFrame.h"
#include "skinner/SkinFinder.h"

namespace {

constexpr char16_t KIND[] = u"FormSettings";
constexpr char16_t SMARTPHONE_OK[] = u"#smartphone_ok#";
constexpr char16_t SMARTPHONE_MENU[] = u"#smartphone_menu#";
constexpr char16_t RECOGNITION_SKIN_TAG[] = u"Ringwise_1.0";
constexpr char16_t DIALOGS_SKIN[] = u"%app_path%/skins/settings/dialogs.skin";
constexpr char16_t SKIN_PREFIX[] = u"Skin_";
constexpr char16_t LANGUAGE_PREFIX[] = u"Language_";
constexpr char16_t BACKUP_EXTENSION[] = u"vcb";
constexpr char16_t PRODUCT[] = u"Tarn Ringwise v4.05";
constexpr double TIMER_SECONDS = 0.1;

Document& document()
{
    return *Document::instance();
}

std::u16string language_path(const std::u16string& name)
{
    return u"%app_path%/" + name + u".lng";
}

bool starts_with(const std::u16string& text, const std::u16string& prefix)
{
    return text.size() > prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

} // namespace

FormSettings::FormSettings(skinner::Form* parent, skinner::Skin& skin)
    : Form(parent, skin, KIND, nullptr)
    , filter_(std::make_unique<CommandsFilter>(document().commands()))
    , menu_(*this, u"menuMain")
    , menu_key_(menu_, u"Menu", skin.translate(u"Menu", u":)"), SMARTPHONE_MENU)
    , progress_(*this, u"progress")
    , record_button_(*this, u"btnRecord")
    , delete_button_(*this, u"btnDelete")
    , play_button_(*this, u"btnPlay")
    , message_(*this, u"message")
    , grid_(std::make_unique<ControlGridCommands>(*this, *filter_))
{
    if (os::is_smartphone())
        record_key_ = std::make_unique<skinner::MenuMainButton>(
            menu_, u"Record", skin.translate(u"Record", u":)"), SMARTPHONE_OK);
    show_title();
    document().sync_contacts();
    document().sort_commands();
    set_recording_mode(false);
    update_rows(nullptr);
    rebuild_menu();
    set_focus(grid_.get());
    timer_ = start_timer(TIMER_SECONDS);
}

FormSettings::~FormSettings()
{
    kill_timer(timer_);
    clear_menu();
}

bool FormSettings::start(const std::u16string& command_line)
{
    // A form that a hand-over once minimised comes back for the next one.
    if (in_modal_loop() && window() && !platform::is_window_visible(window()))
        platform::show_window(window(), true);
    Form::on_command_line(command_line);
    if (command_line.empty()) {
        std::u16string answer = show_message(
            this, text_of(u"Warning"), text_of(u"No_recorded_tags"), u"MessageYesNo");
        if (answer != u"btnYes") {
            if (window())
                platform::show_window(window(), false);
            return false;
        }
    }
    std::optional<std::int32_t> id = parse_command_line_number(command_line);
    if (!id)
        return true;
    refresh();
    select_contact(*id);
    return true;
}

void FormSettings::on_command_line(const std::u16string& text)
{
    start(text);
}

bool FormSettings::run_command(const std::u16string& command)
{
    Settings& settings = document().settings();
    if (command == u"Record")
        record();
    else if (command == u"Play")
        play();
    else if (command == u"Delete")
        delete_tag();
    else if (command == u"Refresh")
        refresh();
    else if (command == u"Play_sound")
        toggle_setting(settings.play_sound);
    else if (command == u"Play_commands")
        toggle_setting(settings.play_commands);
    else if (command == u"Wait_confirmation")
        toggle_setting(settings.wait_confirmation);
    else if (command == u"Precise_matching")
        toggle_engine();
    else if (starts_with(command, SKIN_PREFIX))
        choose_skin(command.substr(std::char_traits<char16_t>::length(SKIN_PREFIX)));
    else if (starts_with(command, LANGUAGE_PREFIX))
        choose_language(command.substr(std::char_traits<char16_t>::length(LANGUAGE_PREFIX)));
    else if (command == u"Backup_tags")
        backup();
    else if (command == u"Restore_tags")
        restore();
    else if (command == u"Help")
        help();
    else if (command == u"About")
        about();
    else if (command == u"Exit")
        close();
    else
        return false;
    return true;
}

void FormSettings::on_command(const std::u16string& text)
{
    if (!run_command(text))
        Form::on_command(text);
}

void FormSettings::on_control(skinner::Control& sender)
{
    if (&sender == &record_button_)
        record();
    else if (&sender == &play_button_)
        play();
    else if (&sender == &delete_button_)
        delete_tag();
    else
        Form::on_control(sender);
}

void FormSettings::on_selection_changed(skinner::Control& sender, int row)
{
    if (&sender == grid_.get())
        update_buttons();
    else
        Form::on_selection_changed(sender, row);
}

void FormSettings::on_item_activated(skinner::Control& sender, int row)
{
    if (&sender == grid_.get())
        open_context_menu(row);
    else
        Form::on_item_activated(sender, row);
}

void FormSettings::on_item_hold(skinner::Control& sender, int row, platform::Point point)
{
    if (&sender == grid_.get())
        open_context_menu(row);
    else
        Form::on_item_hold(sender, row, point);
}

void FormSettings::on_menu_opening(skinner::Control& sender)
{
    if (&sender == &menu_)
        rebuild_menu();
    else
        Form::on_menu_opening(sender);
}

void FormSettings::on_timer(unsigned timer_id)
{
    if (timer_id == timer_ && timer_ != 0)
        recording_tick();
    else
        Form::on_timer(timer_id);
}

const Command* FormSettings::command_at(int row) const
{
    if (row < 0 || row >= filter_->row_count())
        return nullptr;
    return &document().commands()[static_cast<std::size_t>(filter_->command_index(row))];
}

const Command* FormSettings::selected_command() const
{
    return command_at(grid_->selection());
}

std::vector<std::u16string> FormSettings::context_commands(int row) const
{
    const Command* command = command_at(row);
    if (!command)
        return {};
    if (!command->has_tag())
        return { u"Record" };
    return { u"Record", u"Play", u"Delete" };
}

void FormSettings::open_context_menu(int row)
{
    std::vector<std::u16string> commands = context_commands(row);
    if (commands.empty())
        return;
    os::log() << u"FormSettings::open_context_menu " << commands.size() << u"\n";
    std::vector<ContextEntry> entries;
    for (const std::u16string& command : commands)
        entries.push_back({ command, get_skin().translate(command) });
    // Beside the row, inside the grid: the row's left edge and its middle.
    platform::Rect cells = grid_->content_rect();
    int top = cells.top + grid_->header_height()
        + (row - grid_->first_visible_row()) * grid_->row_height();
    platform::Rect at = platform::window_rect(window()).value_or(platform::Rect {});
    show_context_menu(entries,
        { at.left + cells.left + grid_->row_height() / 2,
            at.top + std::clamp(top + grid_->row_height() / 2, cells.top, cells.bottom) });
}

void FormSettings::record()
{
    const Command* selected = selected_command();
    if (!selected || recording_)
        return;
    recorded_ = *selected;
    if (document().start_recording())
        set_recording_mode(true);
}

void FormSettings::play()
{
    const Command* selected = selected_command();
    if (selected && selected->has_tag() && !recording_)
        document().play(document().recording_path(selected->voice));
}

void FormSettings::delete_tag()
{
    const Command* selected = selected_command();
    if (!selected || !selected->has_tag() || recording_)
        return;
    Command kept = *selected;
    if (!document().delete_tag(document().commands()[static_cast<std::size_t>(
            filter_->command_index(grid_->selection()))])) {
        warn(u"Tag_save_error");
        return;
    }
    kept.voice.clear();
    filter_->set_text({});
    update_rows(&kept);
    show_filter();
}

void FormSettings::refresh()
{
    const Command* selected = selected_command();
    std::optional<Command> kept;
    if (selected)
        kept = *selected;
    document().commands().clear();
    // The rows index the list: none may outlive it.
    filter_->apply();
    document().sync_contacts();
    document().load_commands();
    document().sort_commands();
    update_rows(kept ? &*kept : nullptr);
}

void FormSettings::toggle_setting(bool& setting)
{
    setting = !setting;
    save_settings();
}

void FormSettings::toggle_engine()
{
    MatchingEngine& engine = document().settings().engine;
    engine = engine == MatchingEngine::Precise ? MatchingEngine::Classic : MatchingEngine::Precise;
    save_settings();
}

void FormSettings::choose_skin(const std::u16string& name)
{
    document().settings().skin = name;
    save_settings();
}

void FormSettings::save_settings()
{
    if (!document().save_settings())
        warn(u"Settings_save_error");
}

void FormSettings::choose_language(const std::u16string& name)
{
    document().settings().language = name;
    get_skin().set_language(language_path(name));
    save_settings();
}

std::u16string FormSettings::pick_backup_file(const std::u16string& title_key)
{
    platform::Size screen = platform::screen_size();
    skinner::Skin skin(DIALOGS_SKIN, { screen.width, screen.height });
    if (!skin.is_valid() || !skin.has_form(u"FileExplorerDialog"))
        return {};
    skin.set_language(language_path(document().settings().language));
    dialogs::FileExplorerDialog dialog(this, skin, text_of(title_key));
    dialog.add_extension(BACKUP_EXTENSION);
    return dialog.run();
}

void FormSettings::backup()
{
    std::u16string path = pick_backup_file(u"Save_file");
    if (!path.empty() && !backup_tags(path))
        warn(u"Backup_error");
}

void FormSettings::restore()
{
    std::u16string path = pick_backup_file(u"Select_file");
    if (path.empty())
        return;
    bool restored = restore_tags(path);
    refresh();
    if (!restored)
        warn(u"Restore_error");
}

void FormSettings::help()
{
    os::execute_file(u"%app_path%/" + text_of(u"Help_link"), {});
}

void FormSettings::about()
{
    platform::Size screen = platform::screen_size();
    skinner::Skin skin(DIALOGS_SKIN, { screen.width, screen.height });
    if (!skin.is_valid() || !skin.has_form(u"FormAbout"))
        return;
    skin.set_language(language_path(document().settings().language));
    dialogs::FormAbout form(this, skin, u"About", PRODUCT);
    form.do_modal();
}

void FormSettings::show_title()
{
    if (window())
        platform::set_window_text(window(), text_of(u"Voice_tags"));
}

void FormSettings::reload()
{
    Form::reload();
    show_title();
    show_filter();
    menu_key_.set_text(get_skin().translate(u"Menu", u":)"));
    if (record_key_)
        record_key_->set_text(get_skin().translate(u"Record", u":)"));
    rebuild_menu();
}

void FormSettings::set_filter_text(const std::u16string& text)
{
    if (text == filter_->text())
        return;
    const Command* selected = selected_command();
    std::optional<Command> kept;
    if (selected)
        kept = *selected;
    filter_->set_text(text);
    update_rows(kept ? &*kept : nullptr);
    show_filter();
}

void FormSettings::show_filter()
{
    // The search hint in the title band shows what was typed instead.
    auto* hint = dynamic_cast<skinner::ControlFrame*>(find_control(u"lblSearch"));
    if (hint)
        hint->set_text(filter_->text().empty() ? text_of(u"Search_hint") : filter_->text());
}

void FormSettings::update_rows(const Command* keep_selected)
{
    filter_->apply();
    int row = -1;
    if (keep_selected) {
        for (int i = 0; i < filter_->row_count(); ++i) {
            if (command_at(i)->same_entry(*keep_selected)) {
                row = i;
                break;
            }
        }
    }
    grid_->refresh();
    // The rows are new even where the index stays: the selection is
    // announced again, which updates the buttons.
    grid_->set_selection(-1);
    grid_->set_selection(row);
    update_buttons();
    grid_->repaint();
}

void FormSettings::select_contact(std::int32_t id)
{
    int row = -1;
    for (int i = 0; i < filter_->row_count() && row < 0; ++i)
        if (command_at(i)->id == id)
            row = i;
    grid_->set_selection(row);
    update_buttons();
}

void FormSettings::update_buttons()
{
    const Command* selected = selected_command();
    bool tagged = selected && selected->has_tag();
    record_button_.set_enabled(filter_->row_count() > 0);
    delete_button_.set_enabled(tagged);
    play_button_.set_enabled(tagged);
}

void FormSettings::recording_tick()
{
    if (!recording_)
        return;
    if (!document().audio().has_recorder()) {
        set_recording_mode(false);
        return;
    }
    double elapsed = document().elapsed();
    if (elapsed <= audio::MAX_RECORD_SECONDS) {
        progress_.set_value(elapsed / audio::MAX_RECORD_SECONDS);
        return;
    }
    // The device hands over its last block a little after the stopwatch
    // passes the duration; the tag is built from the whole capture.
    audio::AudioBuffer& buffer = document().audio().capture_buffer();
    if (buffer.recorded_seconds() < buffer.duration()
        && elapsed <= audio::MAX_RECORD_SECONDS + audio::last_block_seconds())
        return;
    progress_.set_value(1);
    // Training stops the capture and destroys the recorder, whatever it finds.
    TagTraining training = document().record_tag(recorded_);
    set_recording_mode(false);
    if (training) {
        document().play(document().recording_path(recorded_.voice));
        filter_->set_text({});
        update_rows(&recorded_);
        show_filter();
    } else if (training.outcome == TagTraining::NotWritten) {
        update_rows(&recorded_);
        warn(u"Tag_save_error");
    }
}

void FormSettings::set_recording_mode(bool recording)
{
    recording_ = recording;
    message_.set_visible(recording);
    progress_.set_visible(recording);
    progress_.set_value(0);
    grid_->set_enabled(!recording);
}

std::u16string FormSettings::text_of(const std::u16string& key) const
{
    return get_skin().translate(key);
}

void FormSettings::warn(const std::u16string& key)
{
    show_message(this, text_of(u"Warning"), text_of(key), u"MessageOk");
}

skinner::MenuMainButton& FormSettings::add_entry(skinner::MenuMainSubMenu& parent,
    const std::u16string& id, const std::u16string& text, bool checked)
{
    auto entry = std::make_unique<skinner::MenuMainButton>(parent, id, text);
    entry->set_checked(checked);
    entry->set_order(static_cast<int>(menu_entries_.size()));
    menu_entries_.push_back(std::move(entry));
    return *menu_entries_.back();
}

skinner::MenuMainSubMenu& FormSettings::add_sub_menu(
    skinner::MenuMainSubMenu& parent, const std::u16string& id, const std::u16string& text)
{
    auto entry = std::make_unique<skinner::MenuMainSubMenu>(parent, id, text);
    entry->set_order(static_cast<int>(menu_entries_.size()));
    auto& made = *entry;
    menu_entries_.push_back(std::move(entry));
    return made;
}

void FormSettings::clear_menu()
{
    while (!menu_entries_.empty())
        menu_entries_.pop_back();
}

void FormSettings::rebuild_menu()
{
    clear_menu();
    const Settings& settings = document().settings();
    add_entry(menu_key_, u"Refresh", text_of(u"Refresh"));

    auto& options = add_sub_menu(menu_key_, u"Settings", text_of(u"Settings"));
    add_entry(options, u"Play_sound", text_of(u"Play_sound"), settings.play_sound);
    add_entry(options, u"Play_commands", text_of(u"Play_commands"), settings.play_commands);
    add_entry(
        options, u"Wait_confirmation", text_of(u"Wait_confirmation"), settings.wait_confirmation);
    add_entry(options, u"Precise_matching", text_of(u"Precise_matching"),
        settings.engine == MatchingEngine::Precise);

    auto& skins = add_sub_menu(menu_key_, u"Skin", text_of(u"Skin"));
    platform::Size screen = platform::screen_size();
    skinner::SkinFinder finder(
        u"%app_path%/skins", RECOGNITION_SKIN_TAG, { screen.width, screen.height }, {});
    for (const auto& found : finder.skins)
        add_entry(skins, SKIN_PREFIX + found.name,
            get_skin().translate(SKIN_PREFIX + found.name, found.name),
            found.name == settings.skin);

    auto& languages = add_sub_menu(menu_key_, u"Language", text_of(u"Language"));
    os::LanguageFinder languages_found;
    for (const std::u16string& path : languages_found.languages) {
        std::u16string name = os::file_title_of(path);
        // A language file names itself under "Language_" + its title.
        add_entry(languages, LANGUAGE_PREFIX + name,
            get_skin().translate(LANGUAGE_PREFIX + name, name), name == settings.language);
    }

    auto& backup_menu = add_sub_menu(menu_key_, u"Backup_restore", text_of(u"Backup"));
    if (document().tag_count() > 0)
        add_entry(backup_menu, u"Backup_tags", text_of(u"Backup_tags"));
    add_entry(backup_menu, u"Restore_tags", text_of(u"Restore_tags"));

    add_entry(menu_key_, u"Help", text_of(u"Help"));
    add_entry(menu_key_, u"About", text_of(u"About"));
    add_entry(menu_key_, u"Exit", text_of(u"Exit"));
}

std::vector<std::u16string> FormSettings::menu_entries() const
{
    std::vector<std::u16string> ids;
    for (const auto& entry : menu_entries_)
        ids.push_back(entry->item_id());
    return ids;
}

const skinner::MenuMainButton* FormSettings::menu_entry(const std::u16string& id) const
{
    for (const auto& entry : menu_entries_)
        if (entry->item_id() == id)
            return entry.get();
    return nullptr;
}
