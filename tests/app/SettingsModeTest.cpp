#include "tests/app/ProgramFolder.h"

#include <sstream>
#include <tuple>
#include <utility>
#include <vector>

namespace {

// The settings mode of bin/Ringwise: its command line, its question when no
// tag exists, and the hand-over from a second settings process.
class SettingsMode : public ProgramFolder {
protected:
    void SetUp() override
    {
        ProgramFolder::SetUp();
        write_settings_skin();
    }

    std::string id_of(const std::string& first_name)
    {
        return shell(temp.native("ringwise-tool") + " contacts | awk -F'\\t' '$2==\"" + first_name
            + "\"{printf $1}'");
    }

    // The grid's line of a dump the script wrote.
    std::string grid_of(const std::string& dump)
    {
        std::istringstream lines(temp.read(dump));
        for (std::string line; std::getline(lines, line);)
            if (line.starts_with("control grid "))
                return line;
        return {};
    }

    // Runs the settings mode with `arguments`, dumps its form and closes it.
    std::string dump_of(const std::string& arguments)
    {
        script("wait-form FormSettings\ndump " + path("form.txt") + "\ncommand Exit\n");
        std::filesystem::remove(temp.native("form.txt"));
        Result result = run(arguments);
        EXPECT_EQ(result.status, 0) << result.err;
        return grid_of("form.txt");
    }
};

TEST_F(SettingsMode, ALeadingNumberSelectsThatContactAndAnythingElseNothing)
{
    tag("Anna", ANNA_PHONE, recording("anna-1"));
    std::string oscar = id_of("Oscar");
    ASSERT_FALSE(oscar.empty());

    std::string grid = dump_of("'  " + oscar + "abc'");
    EXPECT_NE(grid.find("selected_text=\tOscar Lindqvist, 030 2"), std::string::npos) << grid;
    EXPECT_NE(dump_of("s").find("selected=-1"), std::string::npos);
    EXPECT_NE(dump_of("x" + oscar).find("selected=-1"), std::string::npos);
    // A sign is taken: no contact has the negative id.
    EXPECT_NE(dump_of("-" + oscar).find("selected=-1"), std::string::npos);
}

TEST_F(SettingsMode, WithoutTagsTheProgramAsksFirstAndEndsOnNo)
{
    script("wait-form MessageYesNo\ndump " + path("question.txt") + "\ntap-control btnNo\n");
    Result no = run();
    EXPECT_EQ(no.status, 0) << no.err;
    std::string question = temp.read("question.txt");
    EXPECT_NE(question.find("No_recorded_tags"), std::string::npos) << question;
    EXPECT_EQ(question.find("form FormSettings active"), std::string::npos) << question;

    script("wait-form MessageYesNo\ntap-control btnYes\nwait-form FormSettings\ndump "
        + path("form.txt") + "\ncommand Exit\n");
    Result yes = run();
    EXPECT_EQ(yes.status, 0) << yes.err;
    EXPECT_NE(grid_of("form.txt").find("rows=2 "), std::string::npos);
}

TEST_F(SettingsMode, ASecondProcessWithAContactIdRefreshesAndSelectsInTheFirst)
{
    tag("Anna", ANNA_PHONE, recording("anna-1"));
    std::string oscar = id_of("Oscar");
    // The first process waits for the hand-over's refresh (the new contact
    // listed, Oscar selected), then shows what it selected.
    script("wait-form FormSettings\ndump " + path("ready.txt")
        + "\nwait-until grid rows=3 selected_text~=Oscar\ndump " + path("after.txt")
        + "\ncommand Exit\n");
    Run first = start("s", "first");
    // A dump appears complete, under its name only once written.
    ASSERT_TRUE(wait_for_file("ready.txt"));
    EXPECT_NE(grid_of("ready.txt").find("selected=-1"), std::string::npos);
    ::unsetenv("RINGWISE_SCRIPT");
    // A contact added since the first process started appears on refresh.
    temp.write("contacts.vcf",
        temp.read("contacts.vcf")
            + "BEGIN:VCARD\nVERSION:3.0\nUID:zoe\nN:Zed;Zoe;;;\nTEL:77\nEND:VCARD\n");
    Result second = finish(start(oscar, "second"));
    EXPECT_EQ(second.status, 0) << second.err;
    EXPECT_EQ(finish(first).status, 0);
    std::string grid = grid_of("after.txt");
    EXPECT_NE(grid.find("rows=3 "), std::string::npos) << grid;
    EXPECT_NE(grid.find("selected_text=\tOscar Lindqvist, 030 2"), std::string::npos) << grid;
}

// The popup lines of a dump: each entry's text and enabled flag.
std::string popup_of(const std::string& dump)
{
    std::istringstream lines(dump);
    std::string items;
    for (std::string line; std::getline(lines, line);) {
        if (!line.starts_with("popup 0 "))
            continue;
        std::size_t flag = line.find(" enabled=");
        items += line.substr(8, flag - 8) + "=" + line.substr(flag + 9, 1) + ";";
    }
    return items;
}

// The fields of a dump's line for a control: "control ID CLASS X Y W H ...".
std::vector<std::string> control_of(const std::string& dump, const std::string& id)
{
    std::istringstream lines(dump);
    for (std::string line; std::getline(lines, line);) {
        if (!line.starts_with("control " + id + " "))
            continue;
        std::istringstream words(line);
        std::vector<std::string> fields;
        for (std::string word; words >> word;)
            fields.push_back(word);
        return fields;
    }
    return {};
}

TEST_F(SettingsMode, TheFileDialogsEditHasItsMenuOnAHoldAndOnTheApplicationsKey)
{
    tag("Anna", ANNA_PHONE, recording("anna-1"));
    const std::string open = "wait-form FormSettings\ncommand Restore_tags\n"
                             "wait-form FileExplorerDialog\n";
    const std::string close = "tap-control btnCancel\nwait-form FormSettings\ncommand Exit\n";
    script(open + "dump " + path("dialog.txt") + "\n" + close);
    Result layout = run("s");
    ASSERT_EQ(layout.status, 0) << layout.err;
    std::vector<std::string> edit = control_of(temp.read("dialog.txt"), "edtPath");
    ASSERT_GE(edit.size(), 7u);
    std::string x = std::to_string(std::stoi(edit[3]) + std::stoi(edit[5]) / 2);
    std::string y = std::to_string(std::stoi(edit[4]) + std::stoi(edit[6]) / 2);

    // Typed text; Select All from the applications key's menu; Cut from a
    // hold's menu; Paste from the key's menu again.
    script(open + "tap-control edtPath\nkey End\ntext tags\nkey Apps\ndump " + path("typed.txt")
        + "\nkey Down\nkey Return\nhold " + x + " " + y + "\ndump " + path("held.txt")
        + "\nkey Down\nkey Return\ndump " + path("cut.txt") + "\nkey Apps\ndump "
        + path("empty.txt") + "\nkey Down\nkey Return\ndump " + path("pasted.txt") + "\n" + close);
    Result result = run("s");
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(popup_of(temp.read("typed.txt")), "Cut=0;Copy=0;Paste=0;Delete=0;Select All=1;");
    EXPECT_EQ(popup_of(temp.read("held.txt")), "Cut=1;Copy=1;Paste=0;Delete=1;Select All=1;");
    EXPECT_EQ(popup_of(temp.read("cut.txt")), "");
    EXPECT_EQ(popup_of(temp.read("empty.txt")), "Cut=0;Copy=0;Paste=1;Delete=0;Select All=0;");
    std::vector<std::string> cut = control_of(temp.read("cut.txt"), "edtPath");
    std::vector<std::string> pasted = control_of(temp.read("pasted.txt"), "edtPath");
    ASSERT_FALSE(cut.empty());
    ASSERT_FALSE(pasted.empty());
    EXPECT_EQ(cut.back(), "text=");
    EXPECT_TRUE(pasted.back().ends_with("tags")) << pasted.back();
    // The choices acted on the edit alone: the dialog is still open.
    EXPECT_NE(temp.read("pasted.txt").find("form FileExplorerDialog active"), std::string::npos);
}

// The keys of a user without a touch screen: the Menu soft key, down past
// Refresh to Settings, right into its sub-menu (on its first entry), and
// down past the sound, the name and the confirmation to the matching.
const std::string OPEN_SETTINGS_MENU = "key SoftRight\nkey Down\nkey Down\nkey Right\n";
const std::string DOWN_TO_PRECISE = "key Down\nkey Down\nkey Down\n";
const std::string CLOSE_MENU = "key Escape\nkey Escape\n";

// The sub-menu's lines of a dump, "TEXT enabled=E checked=C LEFT TOP RIGHT BOTTOM".
std::vector<std::string> sub_menu_of(const std::string& dump)
{
    std::istringstream lines(dump);
    std::vector<std::string> items;
    for (std::string line; std::getline(lines, line);)
        if (line.starts_with("popup 1 "))
            items.push_back(line.substr(8));
    return items;
}

class SettingsMenu : public SettingsMode {
protected:
    void SetUp() override
    {
        SettingsMode::SetUp();
        for (const char* name : { "English.lng", "German.lng" })
            std::filesystem::copy_file(
                std::filesystem::path(RINGWISE_BINARY_DIR) / "bin" / name, path(name));
        tag("Anna", ANNA_PHONE, recording("anna-1"));
    }

    // Chooses "Precise matching" by keys, then opens the sub-menu again and
    // dumps it; the settings file as the run left it.
    std::string choose_precise_matching()
    {
        script("wait-form FormSettings\n" + OPEN_SETTINGS_MENU + DOWN_TO_PRECISE + "key Return\n"
            + OPEN_SETTINGS_MENU + "dump " + path("menu.txt") + "\n" + CLOSE_MENU
            + "command Exit\n");
        std::filesystem::remove(path("menu.txt"));
        Result result = run("s");
        EXPECT_EQ(result.status, 0) << result.err;
        return temp.read("settings.xml");
    }

    std::string entry(const std::string& text)
    {
        for (const std::string& item : sub_menu_of(temp.read("menu.txt")))
            if (item.starts_with(text + " "))
                return item;
        return {};
    }
};

TEST_F(SettingsMenu, PreciseMatchingIsReachedByKeysAndSwitchesTheEngineBothWays)
{
    std::string precise = choose_precise_matching();
    EXPECT_NE(precise.find("engine=\"precise\""), std::string::npos) << precise;
    EXPECT_TRUE(entry("Precise matching").starts_with("Precise matching enabled=1 checked=1"))
        << temp.read("menu.txt");
    // The entry follows the confirmation; the other options kept their values.
    std::vector<std::string> items = sub_menu_of(temp.read("menu.txt"));
    ASSERT_EQ(items.size(), 4u) << temp.read("menu.txt");
    EXPECT_TRUE(items[0].starts_with("Play prompt sounds enabled=1 checked=1")) << items[0];
    EXPECT_TRUE(items[2].starts_with("Wait for confirmation enabled=1 checked=0")) << items[2];
    EXPECT_TRUE(items[3].starts_with("Precise matching ")) << items[3];

    std::string classic = choose_precise_matching();
    EXPECT_EQ(classic.find("engine="), std::string::npos) << classic;
    EXPECT_NE(classic.find("PlaySound=\"true\""), std::string::npos) << classic;
    EXPECT_TRUE(entry("Precise matching").starts_with("Precise matching enabled=1 checked=0"))
        << temp.read("menu.txt");
}

TEST_F(SettingsMenu, ASettingsFileThatCannotBeWrittenIsReported)
{
    std::filesystem::create_directories(path("settings.xml"));
    script("wait-form FormSettings\n" + OPEN_SETTINGS_MENU + DOWN_TO_PRECISE
        + "key Return\nwait-form MessageOk\ndump " + path("warning.txt")
        + "\ntap-control btnOk\nwait-form FormSettings\ncommand Exit\n");
    Result result = run("s");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_NE(temp.read("warning.txt").find("The settings could not be saved."), std::string::npos)
        << temp.read("warning.txt");
}

// The open sub-menu on a small and a tall screen in both languages, kept as
// pictures for a look: every entry on the screen, in one column.
TEST_F(SettingsMenu, TheSubMenuFitsTheScreenInEveryLanguage)
{
    std::string folder = RINGWISE_BINARY_DIR "/screenshots";
    std::filesystem::create_directories(folder);
    for (auto [language, text] : { std::pair { "English", "Precise matching" },
             std::pair { "German", "Genaue Erkennung" } }) {
        for (auto [screen, width, height] :
            { std::tuple { "240x320", 240, 320 }, std::tuple { "360x720", 360, 720 } }) {
            SCOPED_TRACE(std::string(language) + " " + screen);
            temp.write("settings.xml",
                std::string("<Settings><General Language=\"") + language + "\"/></Settings>");
            set("RINGWISE_SCREEN", screen);
            std::string shot = folder + "/settings-menu-" + language + "-" + screen + ".png";
            std::filesystem::remove(shot);
            script("wait-form FormSettings\n" + OPEN_SETTINGS_MENU + DOWN_TO_PRECISE + "screenshot "
                + shot + "\ndump " + path("menu.txt") + "\n" + CLOSE_MENU + "command Exit\n");
            Result result = run("s");
            ::unsetenv("RINGWISE_SCREEN");
            ASSERT_EQ(result.status, 0) << result.err;
            EXPECT_TRUE(std::filesystem::exists(shot));
            std::vector<std::string> items = sub_menu_of(temp.read("menu.txt"));
            ASSERT_EQ(items.size(), 4u) << temp.read("menu.txt");
            EXPECT_TRUE(items[3].starts_with(std::string(text) + " enabled=1 checked=0"))
                << items[3];
            std::vector<int> first;
            for (const std::string& item : items) {
                std::istringstream words(item.substr(item.find(" checked=") + 11));
                std::vector<int> box(4);
                words >> box[0] >> box[1] >> box[2] >> box[3];
                EXPECT_GE(box[0], 0) << item;
                EXPECT_LE(box[2], width) << item;
                EXPECT_LE(box[3], height) << item;
                if (first.empty())
                    first = box;
                EXPECT_EQ(box[0], first[0]) << item;
                EXPECT_EQ(box[2], first[2]) << item;
            }
        }
    }
}

} // namespace
