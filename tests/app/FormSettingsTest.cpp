#include "app/FormSettings.h"
#include "app/CommandLineNumber.h"
#include "app/CommandsFilter.h"
#include "app/ControlGridCommands.h"
#include "platform/Convert.h"
#include "skinner/ControlFrame.h"
#include "skinner/KeyCodes.h"
#include "skinner/PictureCache.h"
#include "skinner/Skin.h"

#include "tests/app/DocumentFixture.h"

#include <algorithm>

namespace {

using Grid = FormSettings::ControlGridCommands;

Command make_command(
    std::int32_t id, std::u16string name, std::u16string phone, std::u16string voice = {})
{
    Command command;
    command.id = id;
    command.name = std::move(name);
    command.phone = std::move(phone);
    command.voice = std::move(voice);
    return command;
}

TEST(CommandsFilter, MatchesNamesInAnyCaseAndNumbersExactly)
{
    CommandList commands { make_command(1, u"Anna Berg", u"+420 601"),
        make_command(2, u"Bob", u"555 BER"), make_command(3, u"Cleo Danberg", u"22 33"),
        make_command(4, u"Dora", u"600 ber") };
    FormSettings::CommandsFilter filter(commands);
    filter.apply();
    EXPECT_EQ(filter.row_count(), 4);

    filter.set_text(u"BER");
    filter.apply();
    // Names match without regard to case; a number only as typed.
    ASSERT_EQ(filter.row_count(), 3);
    EXPECT_EQ(filter.command_index(0), 0);
    EXPECT_EQ(filter.command_index(1), 1);
    EXPECT_EQ(filter.command_index(2), 2);
    EXPECT_EQ(filter.text(1, 0), u"Anna Berg, +420 601");
    // The first occurrence in the row text is marked: in the name, or in the
    // number after the name and ", ".
    EXPECT_EQ(filter.ranges(1, 0), (std::vector<std::pair<int, int>> { { 5, 3 } }));
    EXPECT_EQ(filter.ranges(1, 1), (std::vector<std::pair<int, int>> { { 9, 3 } }));
    EXPECT_EQ(filter.ranges(1, 2), (std::vector<std::pair<int, int>> { { 8, 3 } }));
    // The icon columns show no text.
    EXPECT_TRUE(filter.text(0, 0).empty());
    EXPECT_TRUE(filter.ranges(2, 0).empty());

    filter.set_text(u"60");
    filter.apply();
    ASSERT_EQ(filter.row_count(), 2);
    EXPECT_EQ(filter.command_index(1), 3);
}

TEST(ControlGridCommands, LeftAndRightMoveByTenStoppingAtTheEndsAndWrappingFromThem)
{
    EXPECT_EQ(Grid::row_after_key(skinner::KEY_RIGHT, 3, 25), 13);
    EXPECT_EQ(Grid::row_after_key(skinner::KEY_RIGHT, 20, 25), 24);
    EXPECT_EQ(Grid::row_after_key(skinner::KEY_RIGHT, 24, 25), 0);
    EXPECT_EQ(Grid::row_after_key(skinner::KEY_LEFT, 13, 25), 3);
    EXPECT_EQ(Grid::row_after_key(skinner::KEY_LEFT, 4, 25), 0);
    EXPECT_EQ(Grid::row_after_key(skinner::KEY_LEFT, 0, 25), 24);
}

TEST(CommandLineNumber, TakesBlanksOneSignAndTheLongestDigitRun)
{
    EXPECT_EQ(parse_command_line_number(u"  -17abc"), -17);
    EXPECT_EQ(parse_command_line_number(u"\t+42 7"), 42);
    EXPECT_EQ(parse_command_line_number(u"1076753190"), 1076753190);
    EXPECT_EQ(parse_command_line_number(u"99999999999"), 2147483647);
    EXPECT_EQ(parse_command_line_number(u"-99999999999"), -2147483647 - 1);
    EXPECT_FALSE(parse_command_line_number(u"s"));
    EXPECT_FALSE(parse_command_line_number(u"a17"));
    EXPECT_FALSE(parse_command_line_number(u"- 17"));
    EXPECT_FALSE(parse_command_line_number(u"+-17"));
    EXPECT_FALSE(parse_command_line_number(u""));
}

// The form on the settings skin the build ships, with a document in a
// temporary folder and the contacts of a vCard file.
class FormSettingsTest : public DocumentFixture {
protected:
    void SetUp() override
    {
        ::setenv("RINGWISE_HEADLESS", "1", 1);
        ::setenv("RINGWISE_SCREEN", "240x320", 1);
        DocumentFixture::SetUp();
        temp.write("contacts.vcf",
            "BEGIN:VCARD\nVERSION:3.0\nUID:anna\nFN:Anna Berg\nTEL;TYPE=CELL:601 111\n"
            "TEL;TYPE=WORK:555 1234\nEND:VCARD\n"
            "BEGIN:VCARD\nVERSION:3.0\nUID:bob\nFN:Bob Carlsson\nTEL;TYPE=CELL:777 "
            "123\nEND:VCARD\n"
            "BEGIN:VCARD\nVERSION:3.0\nUID:cleo\nFN:Cleo Danberg\nTEL;TYPE=HOME:22 33 "
            "44\nEND:VCARD\n");
        skinner::PictureCache::install();
        skin = std::make_unique<skinner::Skin>(
            platform::from_utf8(RINGWISE_BINARY_DIR "/bin/skins/settings/settings.skin"),
            skinner::Point { 240, 320 });
        ASSERT_TRUE(skin->is_valid());
    }

    void TearDown() override
    {
        form.reset();
        skin.reset();
        DocumentFixture::TearDown();
    }

    // A tagged command of its own, kept in commands.xml.
    void store_tag(std::int32_t id, const std::u16string& name)
    {
        document->add_command(make_command(id, name, u"100", u"001"));
        document->save_commands();
    }

    void open() { form = std::make_unique<FormSettings>(nullptr, *skin); }

    int row_of(const std::u16string& name) const
    {
        for (int row = 0; row < form->grid().row_count(); ++row)
            if (form->command_at(row)->name == name)
                return row;
        return -1;
    }

    bool button_enabled(const std::u16string& id)
    {
        auto* control = form->find_control(id);
        return control && control->is_enabled();
    }

    std::unique_ptr<skinner::Skin> skin;
    std::unique_ptr<FormSettings> form;
};

TEST_F(FormSettingsTest, OpensWithTheContactsSortedAndNothingSelected)
{
    store_tag(9, u"Zed");
    open();
    ASSERT_EQ(form->grid().row_count(), 5);
    // Tagged first, then by name.
    EXPECT_EQ(form->command_at(0)->name, u"Zed");
    EXPECT_EQ(form->command_at(1)->name, u"Anna Berg");
    EXPECT_EQ(form->command_at(4)->name, u"Cleo Danberg");
    EXPECT_EQ(form->grid().cell_text(1, 1), u"Anna Berg, 601 111");
    EXPECT_EQ(form->selected_command(), nullptr);
    EXPECT_TRUE(button_enabled(u"btnRecord"));
    EXPECT_FALSE(button_enabled(u"btnPlay"));
    EXPECT_FALSE(button_enabled(u"btnDelete"));
}

TEST_F(FormSettingsTest, DeleteAndPlayAreOfferedOnlyForATaggedRow)
{
    store_tag(9, u"Zed");
    open();
    form->grid().set_selection(row_of(u"Bob Carlsson"));
    EXPECT_FALSE(button_enabled(u"btnDelete"));
    EXPECT_FALSE(button_enabled(u"btnPlay"));
    EXPECT_EQ(form->context_commands(form->grid().selection()),
        (std::vector<std::u16string> { u"Record" }));

    form->grid().set_selection(row_of(u"Zed"));
    EXPECT_TRUE(button_enabled(u"btnDelete"));
    EXPECT_TRUE(button_enabled(u"btnPlay"));
    EXPECT_EQ(form->context_commands(form->grid().selection()),
        (std::vector<std::u16string> { u"Record", u"Play", u"Delete" }));

    // Deleting the tag keeps the row selected, now untagged.
    EXPECT_TRUE(form->run_command(u"Delete"));
    ASSERT_NE(form->selected_command(), nullptr);
    EXPECT_EQ(form->selected_command()->name, u"Zed");
    EXPECT_FALSE(form->selected_command()->has_tag());
    EXPECT_FALSE(button_enabled(u"btnDelete"));
    EXPECT_EQ(document->tag_count(), 0);
}

TEST_F(FormSettingsTest, TypingFiltersTheRowsAndBackspaceEditsTheFilter)
{
    open();
    form->grid().set_selection(row_of(u"Cleo Danberg"));
    EXPECT_TRUE(form->grid().text_input(u"BeR"));
    EXPECT_EQ(form->filter().text(), u"BeR");
    // The title band shows what was typed in place of the search hint.
    auto* hint = dynamic_cast<skinner::ControlFrame*>(form->find_control(u"lblSearch"));
    ASSERT_NE(hint, nullptr);
    EXPECT_EQ(hint->text(), u"BeR");
    ASSERT_EQ(form->grid().row_count(), 3);
    // The selected command stays selected when it is still shown.
    EXPECT_EQ(form->selected_command()->name, u"Cleo Danberg");

    // A number matches only as typed, and never across the ", ".
    EXPECT_TRUE(form->grid().text_input(u"g,"));
    EXPECT_EQ(form->grid().row_count(), 0);
    EXPECT_EQ(form->selected_command(), nullptr);
    EXPECT_FALSE(button_enabled(u"btnRecord"));

    for (int i = 0; i < 5; ++i)
        form->grid().key_down(skinner::KEY_BACKSPACE);
    EXPECT_EQ(form->filter().text(), u"");
    EXPECT_EQ(form->grid().row_count(), 4);
    EXPECT_EQ(hint->text(), skin->translate(u"Search_hint"));
    // Backspace on an empty filter does nothing.
    EXPECT_TRUE(form->grid().key_down(skinner::KEY_BACKSPACE));
    EXPECT_EQ(form->grid().row_count(), 4);
}

TEST_F(FormSettingsTest, ArrowKeysMoveTheSelectionWithWrapping)
{
    open();
    form->grid().key_down(skinner::KEY_UP);
    EXPECT_EQ(form->grid().selection(), 3);
    form->grid().key_down(skinner::KEY_DOWN);
    EXPECT_EQ(form->grid().selection(), 0);
    form->grid().key_down(skinner::KEY_LEFT);
    EXPECT_EQ(form->grid().selection(), 3);
    form->grid().key_down(skinner::KEY_RIGHT);
    EXPECT_EQ(form->grid().selection(), 0);
    form->grid().key_down(skinner::KEY_RIGHT);
    EXPECT_EQ(form->grid().selection(), 3);
}

TEST_F(FormSettingsTest, TheMenuOffersBackupOnlyWithTagsAndRestoreAlways)
{
    open();
    std::vector<std::u16string> entries = form->menu_entries();
    auto at = [&](const std::u16string& id) {
        return std::find(entries.begin(), entries.end(), id) - entries.begin();
    };
    EXPECT_EQ(entries.front(), u"Refresh");
    EXPECT_EQ(entries.back(), u"Exit");
    EXPECT_LT(at(u"Settings"), at(u"Play_sound"));
    EXPECT_EQ(at(u"Wait_confirmation") + 1, at(u"Precise_matching"));
    EXPECT_LT(at(u"Precise_matching"), at(u"Skin"));
    EXPECT_LT(at(u"Skin"), at(u"Language"));
    EXPECT_LT(at(u"Language"), at(u"Backup_restore"));
    EXPECT_LT(at(u"Restore_tags"), at(u"Help"));
    EXPECT_LT(at(u"Help"), at(u"About"));
    EXPECT_EQ(at(u"Backup_tags"), static_cast<long>(entries.size()));

    store_tag(9, u"Zed");
    form->on_menu_opening(*form->find_control(u"menuMain"));
    entries = form->menu_entries();
    EXPECT_EQ(at(u"Backup_tags") + 1, at(u"Restore_tags"));
}

TEST_F(FormSettingsTest, SettingsTogglesAreSavedAndChecked)
{
    open();
    EXPECT_TRUE(form->run_command(u"Wait_confirmation"));
    EXPECT_TRUE(form->run_command(u"Play_sound"));
    EXPECT_TRUE(form->run_command(u"Skin_Default_Dark"));
    Settings saved(document->settings_path());
    saved.load();
    EXPECT_TRUE(saved.wait_confirmation);
    EXPECT_FALSE(saved.play_sound);
    EXPECT_TRUE(saved.play_commands);
    EXPECT_EQ(saved.skin, u"Default_Dark");
    EXPECT_FALSE(form->run_command(u"Skin_"));
    EXPECT_FALSE(form->run_command(u"Unknown"));
}

TEST_F(FormSettingsTest, PreciseMatchingSwitchesTheEngineBothWaysAndShowsItAsItsCheckMark)
{
    open();
    auto checked = [&] {
        const skinner::MenuMainButton* entry = form->menu_entry(u"Precise_matching");
        EXPECT_NE(entry, nullptr);
        return entry && entry->is_checked();
    };
    auto saved_engine = [&] {
        Settings saved(document->settings_path());
        saved.load();
        return saved.engine;
    };
    ASSERT_EQ(document->settings().engine, MatchingEngine::Classic);
    EXPECT_FALSE(checked());
    EXPECT_EQ(form->menu_entry(u"Precise_matching")->text(), skin->translate(u"Precise_matching"));

    EXPECT_TRUE(form->run_command(u"Precise_matching"));
    EXPECT_EQ(document->settings().engine, MatchingEngine::Precise);
    EXPECT_EQ(saved_engine(), MatchingEngine::Precise);
    form->on_menu_opening(*form->find_control(u"menuMain"));
    EXPECT_TRUE(checked());
    // The other options keep their values.
    Settings saved(document->settings_path());
    saved.load();
    EXPECT_TRUE(saved.play_sound);
    EXPECT_FALSE(saved.wait_confirmation);

    EXPECT_TRUE(form->run_command(u"Precise_matching"));
    EXPECT_EQ(document->settings().engine, MatchingEngine::Classic);
    EXPECT_EQ(saved_engine(), MatchingEngine::Classic);
    form->on_menu_opening(*form->find_control(u"menuMain"));
    EXPECT_FALSE(checked());
}

TEST_F(FormSettingsTest, ACommandLineNumberSelectsThatContactsFirstRow)
{
    store_tag(-17, u"Minus");
    open();
    EXPECT_TRUE(form->start(u"  -17abc"));
    ASSERT_NE(form->selected_command(), nullptr);
    EXPECT_EQ(form->selected_command()->id, -17);

    EXPECT_TRUE(form->start(u"a17"));
    EXPECT_EQ(form->selected_command()->id, -17);
    EXPECT_TRUE(form->start(u"12345"));
    EXPECT_EQ(form->selected_command(), nullptr);
}

TEST_F(FormSettingsTest, RefreshReadsTheContactsAgainKeepingTheSelection)
{
    open();
    form->grid().set_selection(row_of(u"Bob Carlsson"));
    temp.write("contacts.vcf",
        "BEGIN:VCARD\nVERSION:3.0\nUID:bob\nFN:Bob Carlsson\nTEL;TYPE=CELL:777 123\n"
        "END:VCARD\nBEGIN:VCARD\nVERSION:3.0\nUID:al\nFN:Al\nTEL:1\nEND:VCARD\n");
    EXPECT_TRUE(form->run_command(u"Refresh"));
    EXPECT_EQ(form->grid().row_count(), 2);
    EXPECT_EQ(form->selected_command()->name, u"Bob Carlsson");
}

} // namespace
