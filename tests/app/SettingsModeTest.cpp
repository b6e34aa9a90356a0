#include "tests/app/ProgramFolder.h"

#include <sstream>

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

} // namespace
