#include "tests/app/DocumentFixture.h"

namespace {

using CommandStore = DocumentFixture;

os::ContactRecord contact(std::int32_t oid, std::u16string first, std::u16string last,
    std::u16string company, std::u16string mobile = u"", std::u16string business = u"",
    std::u16string home = u"")
{
    return { oid, first, last, company, mobile, business, home };
}

Command tagged(std::int32_t id, std::u16string name, std::u16string phone, std::u16string voice)
{
    Command command;
    command.id = id;
    command.name = name;
    command.full_name = name;
    command.phone = phone;
    command.voice = voice;
    return command;
}

std::vector<std::u16string> names(const CommandList& commands)
{
    std::vector<std::u16string> out;
    for (const Command& command : commands)
        out.push_back(command.name);
    return out;
}

TEST_F(CommandStore, ContactsBecomeOneCommandPerNumber)
{
    document->add_contact(contact(7, u"Anna", u"Berg", u"Acme", u"1", u"2", u"3"));
    ASSERT_EQ(document->commands().size(), 3u);
    const char16_t* types[] = { u"mobile", u"business", u"home" };
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(document->commands()[i].id, 7);
        EXPECT_EQ(document->commands()[i].name, u"Anna Berg");
        EXPECT_EQ(document->commands()[i].full_name, u"Anna Berg, Acme");
        EXPECT_EQ(document->commands()[i].phone, std::u16string(1, u'1' + i));
        EXPECT_EQ(document->commands()[i].phone_type, types[i]);
        EXPECT_FALSE(document->commands()[i].has_tag());
    }
}

TEST_F(CommandStore, NamesFallBackOnEachOther)
{
    // A company without numbers (only an e-mail) is still listed, without phone.
    document->add_contact(contact(1, u"", u"", u"Acme"));
    document->add_contact(contact(2, u"Anna", u"Berg", u"", u"5"));
    document->add_contact(contact(3, u"", u"Berg", u"", u"6"));
    // Nothing to show and nothing to dial: not listed.
    document->add_contact(contact(4, u"", u"", u""));
    ASSERT_EQ(document->commands().size(), 3u);
    EXPECT_EQ(document->commands()[0].name, u"Acme");
    EXPECT_EQ(document->commands()[0].full_name, u"Acme");
    EXPECT_EQ(document->commands()[0].phone, u"");
    EXPECT_EQ(document->commands()[0].phone_type, u"");
    EXPECT_EQ(document->commands()[1].full_name, u"Anna Berg");
    EXPECT_EQ(document->commands()[2].name, u"Berg");
    EXPECT_EQ(document->commands()[2].full_name, u"Berg");
}

TEST_F(CommandStore, MergingKeepsTheFirstNameAndTakesTheNewDetails)
{
    Command stored = tagged(7, u"Anna Old", u"1", u"003");
    stored.full_name = u"Anna Old, Stored";
    stored.phone_type = u"home";
    document->add_command(stored);
    ASSERT_TRUE(document->commands()[0].has_tag());
    document->save_commands();

    // As the settings form starts: stored commands first, then the contacts.
    document->add_contact(contact(7, u"Anna", u"Berg", u"Acme", u"1"));
    ASSERT_EQ(document->commands().size(), 1u);
    EXPECT_EQ(document->commands()[0].name, u"Anna Old");
    EXPECT_EQ(document->commands()[0].full_name, u"Anna Berg, Acme");
    EXPECT_EQ(document->commands()[0].phone_type, u"mobile");
    EXPECT_EQ(document->commands()[0].voice, u"003");

    // As "Refresh" does: contacts first, then the stored commands.
    document->commands().clear();
    document->add_contact(contact(7, u"Anna", u"Berg", u"Acme", u"1"));
    document->load_commands();
    ASSERT_EQ(document->commands().size(), 1u);
    EXPECT_EQ(document->commands()[0].name, u"Anna Berg");
    EXPECT_EQ(document->commands()[0].full_name, u"Anna Old, Stored");
    EXPECT_EQ(document->commands()[0].phone_type, u"home");
    EXPECT_EQ(document->commands()[0].voice, u"003");

    // An untagged entry never removes a tag.
    document->add_command(tagged(7, u"x", u"1", u""));
    EXPECT_EQ(document->commands()[0].voice, u"003");
}

TEST_F(CommandStore, AChangedNumberIsListedTwiceAfterRefresh)
{
    temp.write("contacts.vcf", "BEGIN:VCARD\nUID:a\nN:Berg;Anna\nTEL;TYPE=CELL:222\nEND:VCARD\n");
    document->sync_contacts();
    ASSERT_EQ(document->commands().size(), 1u);
    std::int32_t id = document->commands()[0].id;
    // The tag was recorded while the contact's number was still 111.
    document->commands().clear();
    document->add_command(tagged(id, u"Anna Berg", u"111", u"001"));
    document->save_commands();

    document->commands().clear();
    document->sync_contacts();
    document->load_commands();
    document->sort_commands();
    ASSERT_EQ(document->commands().size(), 2u);
    EXPECT_EQ(document->commands()[0].phone, u"111");
    EXPECT_EQ(document->commands()[0].voice, u"001");
    EXPECT_EQ(document->commands()[1].phone, u"222");
    EXPECT_FALSE(document->commands()[1].has_tag());
}

TEST_F(CommandStore, CommandsFileHoldsTheTaggedCommandsInListOrder)
{
    Command anna = tagged(-42, u"Anna \"A\" <Berg>", u"+49 1", u"002");
    anna.full_name = u"Anna Berg, Acme & Co";
    anna.phone_type = u"mobile";
    document->add_command(tagged(5, u"Untagged", u"9", u""));
    document->add_command(anna);
    document->add_command(tagged(6, u"Bob", u"", u"010"));
    document->save_commands();
    EXPECT_EQ(temp.read("app/commands/commands.xml"),
        "<Commands><Command id=\"-42\" name=\"Anna &quot;A&quot; &lt;Berg>\" "
        "full_name=\"Anna Berg, Acme &amp; Co\" phone=\"+49 1\" phone_type=\"mobile\" "
        "voice=\"002\"/>"
        "<Command id=\"6\" name=\"Bob\" full_name=\"Bob\" phone=\"\" phone_type=\"\" "
        "voice=\"010\"/>"
        "</Commands>");

    Document* first = document.get();
    first->commands().clear();
    first->load_commands();
    ASSERT_EQ(first->commands().size(), 2u);
    EXPECT_EQ(first->commands()[0].id, -42);
    EXPECT_EQ(first->commands()[0].name, anna.name);
    EXPECT_EQ(first->commands()[0].full_name, anna.full_name);
    EXPECT_EQ(first->commands()[1].voice, u"010");
}

TEST_F(CommandStore, LoadingReadsEveryEntryAndToleratesOddOnes)
{
    temp.write("app/commands/commands.xml",
        "<Commands>\n  <!-- kept by hand -->\n"
        "  <Command id=\" 12x\" name=\"A\" phone=\"1\" voice=\"001\"/>\n"
        "  <Other id=\"abc\" name=\"B\" voice=\"002\"/>\n"
        "  <Command name=\"C\" phone=\"3\"/>\n</Commands>");
    document->load_commands();
    ASSERT_EQ(document->commands().size(), 3u);
    EXPECT_EQ(document->commands()[0].id, 12);
    EXPECT_EQ(document->commands()[0].full_name, u"");
    EXPECT_EQ(document->commands()[1].id, 0);
    EXPECT_EQ(document->commands()[1].voice, u"002");
    EXPECT_EQ(document->commands()[2].name, u"C");
    EXPECT_EQ(document->tag_count(), 2);

    // Tag names that would reach outside the commands folder are not loaded.
    temp.write("app/commands/commands.xml",
        "<Commands><Command id=\"1\" phone=\"1\" voice=\"../../victim\"/>"
        "<Command id=\"3\" phone=\"3\" voice=\"a\\b\"/>"
        "<Command id=\"4\" phone=\"4\" voice=\"004\"/></Commands>");
    document->commands().clear();
    document->load_commands();
    ASSERT_EQ(document->commands().size(), 1u);
    EXPECT_EQ(document->commands()[0].voice, u"004");

    const std::string damaged = "<Commands><Command id=\"1\" voice=\"001\">";
    temp.write("app/commands/commands.xml", damaged);
    document->commands().clear();
    document->load_commands();
    EXPECT_TRUE(document->commands().empty());
    EXPECT_EQ(temp.read("app/commands/commands.xml"), damaged);
}

TEST_F(CommandStore, SortingPutsTagsFirstThenNamesInCodeUnitOrder)
{
    document->add_command(tagged(1, u"bob", u"1", u""));
    document->add_command(tagged(2, u"Zoe", u"2", u"004"));
    document->add_command(tagged(3, u"Anna", u"3", u""));
    document->add_command(tagged(4, u"anna", u"4", u"005"));
    document->add_command(tagged(5, u"\u00c4rzte", u"5", u""));
    document->add_command(tagged(6, u"Zed", u"6", u""));
    document->sort_commands();
    EXPECT_EQ(names(document->commands()),
        (std::vector<std::u16string> { u"Zoe", u"anna", u"Anna", u"Zed", u"bob", u"\u00c4rzte" }));
}

TEST_F(CommandStore, NewTagNamesFollowTheLargestNumberInTheFolder)
{
    EXPECT_EQ(document->new_tag_name(), u"001");
    temp.write("app/commands/commands.xml", "");
    EXPECT_EQ(document->new_tag_name(), u"001");
    temp.write("app/commands/001.tag", "");
    temp.write("app/commands/001.wav", "");
    temp.write("app/commands/007.wav", "");
    temp.write("app/commands/notes.txt", "");
    temp.write("app/commands/-50.wav", "");
    temp.write("app/commands/sub/500.wav", "");
    EXPECT_EQ(document->new_tag_name(), u"008");
    temp.write("app/commands/099.wav", "");
    EXPECT_EQ(document->new_tag_name(), u"100");
    temp.write("app/commands/999x.tag", "");
    EXPECT_EQ(document->new_tag_name(), u"1000");
}

TEST_F(CommandStore, DeletingTheLastTagRemovesItsFilesAndTheCommandsFile)
{
    temp.write("app/commands/001.tag", "t");
    temp.write("app/commands/001.wav", "w");
    temp.write("app/commands/002.tag", "t");
    document->add_command(tagged(1, u"A", u"1", u"001"));
    document->add_command(tagged(2, u"B", u"2", u"002"));
    document->save_commands();

    Command& first = document->commands()[0];
    document->delete_tag(first);
    EXPECT_FALSE(temp.exists("app/commands/001.tag"));
    EXPECT_FALSE(temp.exists("app/commands/001.wav"));
    EXPECT_TRUE(temp.exists("app/commands/commands.xml"));
    EXPECT_EQ(document->tag_count(), 1);
    // Sorted: the remaining tag comes first.
    EXPECT_EQ(document->commands()[0].voice, u"002");

    document->delete_tag(document->commands()[0]);
    EXPECT_EQ(document->tag_count(), 0);
    EXPECT_FALSE(temp.exists("app/commands/commands.xml"));
    EXPECT_FALSE(temp.exists("app/commands/002.tag"));
    EXPECT_EQ(document->commands().size(), 2u);
}

} // namespace
