// Damaged and hostile text files through the real program: language files,
// the portal file of the About form and the address book. Each is read as
// far as it can be; the program runs and keeps every stored tag.
#include "tests/app/HostileFiles.h"

namespace {

namespace fs = std::filesystem;

constexpr char BAD_NAME[] = "N:\xff\xfe;\xc3\x28\0\xed\xa0\x80;;;\nTEL:4\n";

std::string card(const std::string& body)
{
    return "BEGIN:VCARD\nVERSION:3.0\n" + body + "END:VCARD\n";
}

class HostileTextFiles : public HostileFiles {
protected:
    void SetUp() override
    {
        HostileFiles::SetUp();
        tag_anna_with_quiet_settings();
        stored = temp.read("commands/commands.xml");
    }

    struct Case {
        const char* name;
        std::string bytes;
    };

    // Damage that any text file of the program may suffer.
    static std::vector<Case> damaged_text(std::uint32_t seed)
    {
        return {
            { "zero-length", "" },
            { "one byte", "K" },
            { "random bytes of odd length", random_bytes(4097, seed) },
            { "random bytes of even length", random_bytes(4096, seed + 1) },
            { "a UTF-16 mark and random bytes", "\xff\xfe" + random_bytes(4096, seed + 2) },
            { "UTF-16 with lone surrogates",
                std::string("\xff\xfe\x00\xd8K\x00 \x00\x00\xdc\n\x00\xff\xdb\xff\xdf", 16) },
            { "NUL bytes", std::string(5000, '\0') },
            { "an 8 MiB line", std::string(8 << 20, 'k') },
            { "a hundred thousand keys",
                [] {
                    std::string many;
                    for (int i = 0; i < 100000; ++i)
                        many += "Key" + std::to_string(i) + " value " + std::to_string(i) + "\n";
                    return many;
                }() },
            { "a key of white space and separators only", repeated(" =\t\r\n//=", 10000) },
        };
    }

    std::string stored;
};

TEST_F(HostileTextFiles, ADamagedLanguageFileLeavesTextsUntranslatedAndTheProgramRunning)
{
    std::vector<Case> cases = damaged_text(71u);
    cases.push_back({ "huge values of the shown keys",
        "Warning " + std::string(1 << 20, 'W') + "\nNot_recognized " + std::string(1 << 20, 'N')
            + "\nAccuracy " + std::string(1 << 20, 'A') + "\nRecord " + std::string(1 << 20, 'R')
            + "\n" });
    std::string dialled;
    for (const Case& c : cases) {
        temp.write("English.lng", c.bytes);
        expect_clean(recognise("anna-2"), c.name);
        dialled += std::string(ANNA_PHONE) + "\n";
        EXPECT_EQ(calls(), dialled) << c.name;
        expect_clean(settings_run("s", "screenshot " + path("shown.png") + "\n"), c.name);
        EXPECT_NE(grid(), "") << c.name;
    }
    // A folder where the file should be.
    fs::remove(path("English.lng"));
    fs::create_directories(path("English.lng"));
    expect_clean(recognise("anna-2"), "a folder");
    expect_clean(settings_run(), "a folder");
    EXPECT_EQ(temp.read("commands/commands.xml"), stored);
}

TEST_F(HostileTextFiles, ADamagedPortalFileLeavesTheAboutFormWithoutALogo)
{
    std::vector<Case> cases = damaged_text(81u);
    cases.push_back({ "a huge portal name", "Portal " + std::string(1 << 20, 'P') + "\n" });
    cases.push_back({ "a portal whose logo lies outside", "Portal ../../../../../../etc/\n" });
    temp.write("English.lng",
        "../../../../../../etc/_LOGO_S ../../../../../../etc/passwd\n"
        "../../../../../../etc/_LOGO_M ../../../../../../dev/zero\n");
    for (const Case& c : cases) {
        temp.write("portal.txt", c.bytes);
        fs::remove(path("about.txt"));
        Result result = settings_run("s",
            "command About\nwait-form FormAbout\ndump " + path("about.txt")
                + "\ntap-control btnOk\nwait-form FormSettings\n");
        expect_clean(result, c.name);
        EXPECT_NE(temp.read("about.txt").find("form FormAbout active"), std::string::npos)
            << c.name;
    }
}

TEST_F(HostileTextFiles, AHostileAddressBookIsReadAsFarAsItGoesAndKeepsTheTags)
{
    std::string anna_card = card("UID:anna\nN:Berg;Anna;;;\nTEL;TYPE=CELL:+49 170 1\n");
    std::string many;
    for (int i = 0; i < 20000; ++i)
        many += card("UID:u" + std::to_string(i) + "\nN:Last" + std::to_string(i)
            + ";First;;;\nTEL:" + std::to_string(i) + "\n");
    std::vector<Case> cases = damaged_text(91u);
    for (Case c :
        std::vector<Case> {
            { "twenty thousand contacts", many },
            { "a 16 MiB note",
                card("N:Note;Ned;;;\nTEL:1\nNOTE:" + std::string(16 << 20, 'n') + "\n") },
            { "a name folded over a hundred thousand lines",
                card("FN:F" + repeated("\n x", 100000) + "\nTEL:2\n") },
            { "a 4 MiB photo",
                card("N:Photo;Pia;;;\nPHOTO;ENCODING=b;TYPE=JPEG:" + std::string(4 << 20, 'A')
                    + "\nTEL:3\n") },
            { "a 1 MiB number", card("N:Long;Lea;;;\nTEL:" + std::string(1 << 20, '5') + "\n") },
            { "ten thousand numbers on one card",
                card("N:Many;Max;;;\n" + repeated("TEL;TYPE=CELL:123\n", 10000)) },
            { "invalid UTF-8 and NULs in names", card(std::string(BAD_NAME, sizeof BAD_NAME - 1)) },
            { "broken quoted-printable", card("FN;ENCODING=QUOTED-PRINTABLE:=\n=G=\n=\nTEL:5\n") },
            { "a card that never ends", "BEGIN:VCARD\nVERSION:3.0\nN:Open;Ola;;;\nTEL:6\n" },
            { "ends without beginnings", repeated("END:VCARD\n", 10000) },
            { "cards nested ten thousand deep",
                repeated("BEGIN:VCARD\n", 10000) + "N:Deep;Dora;;;\nTEL:7\n"
                    + repeated("END:VCARD\n", 10000) },
            { "ten thousand parameters",
                card("N" + repeated(";TYPE=X", 10000) + ":P;P;;;\nTEL:8\n") },
            { "line ends of carriage returns only",
                "BEGIN:VCARD\rVERSION:3.0\rN:Cr;Cid;;;\rTEL:9\rEND:VCARD\r" },
            { "a huge id", card("UID:" + std::string(100000, '9') + "\nN:Id;Ivo;;;\nTEL:10\n") },
        })
        cases.push_back(c);
    for (Case& c : cases) {
        // Anna's card comes first, so that the damage cannot hide her.
        temp.write("contacts.vcf", anna_card + c.bytes);
        Result result = settings_run("s", "command Refresh\n");
        expect_clean(result, c.name);
        EXPECT_NE(grid(), "") << c.name;
        EXPECT_LT(result.seconds, 60.0) << c.name;
        // Reading the contacts again (the form's Refresh) changes no tag.
        EXPECT_EQ(temp.read("commands/commands.xml"), stored) << c.name;
    }
    temp.write("contacts.vcf", anna_card + many);
    expect_clean(settings_run(), "twenty thousand contacts");
    EXPECT_NE(grid().find("rows=20001 "), std::string::npos) << grid();
}

} // namespace
