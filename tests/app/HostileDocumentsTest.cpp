// Damaged and hostile settings.xml and commands.xml through the real
// program: the settings fall back to their defaults, the command list keeps
// what it can read, no tag name reaches outside the commands folder, and a
// list of thousands of tags is still read, shown and matched.
#include "tests/app/HostileFiles.h"

namespace {

namespace fs = std::filesystem;

// Nested elements `depth` deep; closed unless `open`.
std::string nested(std::size_t depth, bool open = false)
{
    return HostileFiles::repeated("<x>", depth)
        + (open ? "" : HostileFiles::repeated("</x>", depth));
}

// A document type whose entities would grow to gigabytes if expanded.
const std::string LAUGHS = "<!DOCTYPE d [<!ENTITY a \"aaaaaaaaaa\">"
                           "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">"
                           "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">"
                           "<!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">"
                           "<!ENTITY e \"&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;\">"
                           "<!ENTITY f \"&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;\">"
                           "<!ENTITY g \"&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;\">"
                           "<!ENTITY h \"&g;&g;&g;&g;&g;&g;&g;&g;&g;&g;\">"
                           "<!ENTITY i \"&h;&h;&h;&h;&h;&h;&h;&h;&h;&h;\">]>";

class HostileDocuments : public HostileFiles {
protected:
    void SetUp() override
    {
        HostileFiles::SetUp();
        tag_anna_with_quiet_settings();
        stored = temp.read("commands/commands.xml");
        std::size_t begin = stored.find("<Command ");
        anna = stored.substr(begin, stored.find("/>", begin) + 2 - begin);
    }

    // Anna's entry with one attribute's value replaced (raw XML text).
    std::string anna_with(const std::string& attribute, const std::string& value) const
    {
        std::size_t at = anna.find(" " + attribute + "=\"") + attribute.size() + 3;
        return anna.substr(0, at) + value + anna.substr(anna.find('"', at));
    }

    std::string stored;
    std::string anna;
};

TEST_F(HostileDocuments, ADamagedOrHostileSettingsFileGivesDefaultsOrAMissingSkin)
{
    // An entity from outside would name the skin the test provides there.
    temp.write("secret.txt", "Default_Green");
    const std::string general = "<General PlaySound=\"false\" PlayCommands=\"false\"";
    struct Case {
        const char* name;
        std::string text;
        bool skin_failed;
    };
    const Case cases[] = {
        { "zero-length", "", false },
        { "random bytes", random_bytes(3000, 31u), false },
        { "truncated", "<Settings><General PlaySound=\"fal", false },
        { "deep nesting", "<Settings>" + nested(200000) + general + "/></Settings>", false },
        { "deep nesting never closed", "<Settings>" + nested(200000, true), false },
        { "a huge skin name",
            "<Settings>" + general + " Skin=\"" + std::string(8 << 20, 'S') + "\"/></Settings>",
            true },
        { "a huge language name",
            "<Settings>" + general + " Language=\"" + std::string(8 << 20, 'L') + "\"/></Settings>",
            false },
        { "a hundred thousand attributes",
            "<Settings><General" +
                [] {
                    std::string many;
                    for (int i = 0; i < 100000; ++i)
                        many += " a" + std::to_string(i) + "=\"" + std::to_string(i) + "\"";
                    return many;
                }()
                + " PlaySound=\"false\" PlayCommands=\"false\"/></Settings>",
            false },
        { "invalid UTF-8 in the skin name",
            "<Settings>" + general + " Skin=\"\xff\xfe\xc3\x28\xed\xa0\x80\"/></Settings>", true },
        { "invalid UTF-8 in the language name",
            "<Settings>" + general + " Language=\"\xc3\x28\xf8\x88\x80\x80\x80\"/></Settings>",
            false },
        // The parser ends a value at a NUL: the name is whole before it.
        { "a character reference to NUL in the skin name",
            "<Settings>" + general + " Skin=\"Default_Green&#0;/../x\"/></Settings>", false },
        { "entities that grow exponentially",
            LAUGHS + "<Settings>" + general + " Language=\"&i;\"/></Settings>", false },
        { "an entity from an outside file",
            "<!DOCTYPE s [<!ENTITY xxe SYSTEM \"file://" + path("secret.txt") + "\">]><Settings>"
                + general + " Skin=\"&xxe;\"/></Settings>",
            true },
        { "UTF-16 marks before UTF-8 text", "\xff\xfe<Settings>" + general + "/></Settings>",
            false },
    };
    std::string dialled;
    for (const Case& c : cases) {
        temp.write("settings.xml", c.text);
        Result result = recognise("anna-2");
        expect_clean(result, c.name);
        EXPECT_EQ(result.err.find("Skin_failed") != std::string::npos, c.skin_failed)
            << c.name << "\n"
            << result.err;
        if (!c.skin_failed)
            dialled += std::string(ANNA_PHONE) + "\n";
        EXPECT_EQ(calls(), dialled) << c.name;
    }
    // The settings form writes a clean file over a hostile one.
    temp.write("settings.xml", cases[3].text);
    expect_clean(settings_run("s", "command Play_sound\n"), "toggling over deep nesting");
    EXPECT_LT(temp.read("settings.xml").size(), 200u);
}

TEST_F(HostileDocuments, ADamagedOrHostileCommandListKeepsWhatItCanRead)
{
    std::string head = stored.substr(0, stored.find("<Command "));
    std::string tail = "</Commands>";
    struct Case {
        const char* name;
        std::string text;
        bool dials_anna;
    };
    const Case cases[] = {
        { "zero-length", "", false },
        { "random bytes", random_bytes(5000, 41u), false },
        { "truncated", stored.substr(0, stored.size() - 5), false },
        { "deep nesting beside the entry", head + anna + nested(200000) + tail, true },
        { "deep nesting never closed", head + anna + nested(200000, true), false },
        { "a huge full name", head + anna_with("full_name", std::string(4 << 20, 'F')) + tail,
            true },
        { "a huge name", head + anna_with("name", std::string(1 << 20, 'N')) + tail, true },
        { "a huge phone number",
            head + anna + "<Command id=\"5\" name=\"Zed\" phone=\"" + std::string(1 << 20, '7')
                + "\" voice=\"404\"/>" + tail,
            true },
        { "an id beyond every integer",
            head + anna + "<Command id=\"-99999999999999999999999\" name=\"Zed\" voice=\"405\"/>"
                + tail,
            true },
        { "invalid UTF-8 in the names",
            head + anna_with("full_name", "\xff\xfe\xc3\x28")
                + "<Command id=\"6\" name=\"\xed\xa0\x80\" "
                  "voice=\"\xc3\x28\"/>"
                + tail,
            true },
        { "entities that grow exponentially",
            LAUGHS + head + anna_with("full_name", "&i;&i;&i;") + tail, true },
        { "an entity from an outside file",
            "<!DOCTYPE c [<!ENTITY xxe SYSTEM \"file:///etc/passwd\">]>" + head
                + anna_with("full_name", "&xxe;") + tail,
            true },
        { "a hundred thousand untagged entries",
            head + anna +
                [] {
                    std::string many;
                    for (int i = 0; i < 100000; ++i)
                        many += "<Command id=\"" + std::to_string(i) + "\"/>";
                    return many;
                }()
                + tail,
            true },
    };
    std::string dialled;
    for (const Case& c : cases) {
        temp.write("commands/commands.xml", c.text);
        Result shown = settings_run();
        expect_clean(shown, c.name);
        EXPECT_NE(grid(), "") << c.name;
        if (c.dials_anna) {
            expect_clean(recognise("anna-2"), c.name);
            dialled += std::string(ANNA_PHONE) + "\n";
            EXPECT_EQ(calls(), dialled) << c.name;
        }
        // Showing and matching never rewrote the list.
        EXPECT_EQ(temp.read("commands/commands.xml"), c.text) << c.name;
    }
}

TEST_F(HostileDocuments, NoTagNameReachesOutsideTheCommandsFolder)
{
    // Copies of Anna's tag where an escaping name would find them: if any of
    // them were read, Oscar's entries, listed first, would win the tie.
    for (const char* copy : { "outside", "commands/sub/inside", "commands/x" }) {
        for (const char* extension : { ".tag", ".wav" })
            temp.write(
                copy + std::string(extension), temp.read("commands/001" + std::string(extension)));
    }
    std::string oscar = id_of("Oscar");
    std::string hostile;
    for (const std::string& voice : std::vector<std::string> { "../outside", "..\\outside",
             "sub/inside", "./x", path("outside"), "%app_path%/outside", "..", "&#0;", "x.tag&#0;",
             "..&#0;/../outside", "x&#10;" }) {
        hostile += "<Command id=\"" + oscar
            + "\" name=\"Oscar Lindqvist\" full_name=\"Oscar Lindqvist\" "
              "phone=\""
            + std::string(OSCAR_PHONE) + "\" phone_type=\"business\" voice=\"" + voice + "\"/>";
    }
    std::size_t begin = stored.find("<Command ");
    std::string list = stored.substr(0, begin) + hostile + stored.substr(begin);
    temp.write("commands/commands.xml", list);

    expect_clean(recognise("anna-2"), "recognition");
    EXPECT_EQ(calls(), std::string(ANNA_PHONE) + "\n");

    // Oscar's row: deleting, playing and recording a tag touch no copy.
    set("RINGWISE_MIC", recording("oscar-1"));
    Result form = settings_run(oscar,
        "command Play\nwait 500\ncommand Delete\ncommand Record\nwait 6000\ndump "
            + path("recorded.txt") + "\n");
    expect_clean(form, "settings");
    // "commands/x" is a file of the folder that no valid entry names: the
    // start-up removes it as an orphan. The others lie outside its reach.
    for (const char* extension : { ".tag", ".wav" }) {
        for (const char* copy : { "outside", "commands/sub/inside" })
            EXPECT_EQ(temp.read(copy + std::string(extension)),
                temp.read("commands/001" + std::string(extension)))
                << copy << extension;
        EXPECT_FALSE(std::filesystem::exists(temp.native("commands/x" + std::string(extension))));
    }
    // The new recording took a fresh name inside the folder, and Anna's tag
    // is still listed.
    std::string saved = temp.read("commands/commands.xml");
    EXPECT_NE(saved.find("voice=\"001\""), std::string::npos) << saved;
    EXPECT_NE(saved.find("voice=\"002\""), std::string::npos) << saved;
    EXPECT_TRUE(temp.exists("commands/002.tag"));
    EXPECT_EQ(saved.find("outside"), std::string::npos) << saved;
}

TEST_F(HostileDocuments, ThousandsOfTagsAreListedAndMatchedInBoundedTime)
{
    // 3000 tags whose files are missing, Anna's last of all.
    std::string head = stored.substr(0, stored.find("<Command "));
    std::string many;
    for (int i = 0; i < 3000; ++i)
        many += "<Command id=\"" + std::to_string(1000 + i) + "\" name=\"N" + std::to_string(i)
            + "\" phone=\"" + std::to_string(i) + "\" voice=\"" + std::to_string(2000 + i) + "\"/>";
    temp.write("commands/commands.xml", head + many + anna + "</Commands>");

    Result recognised = recognise("anna-2");
    expect_clean(recognised, "recognition");
    EXPECT_EQ(calls(), std::string(ANNA_PHONE) + "\n");
    EXPECT_LT(recognised.seconds, 60.0);

    Result shown = settings_run("s", "key Down\nkey Left\nkey Right\ntext N29\n");
    expect_clean(shown, "settings");
    EXPECT_NE(grid().find("rows=3002 "), std::string::npos) << grid();
    EXPECT_LT(shown.seconds, 60.0);
}

} // namespace
