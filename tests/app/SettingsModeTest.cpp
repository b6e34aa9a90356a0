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

} // namespace
