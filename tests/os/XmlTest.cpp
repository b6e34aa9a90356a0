#include "os/Xml.h"

#include "tests/support/TempDirectory.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/resource.h>

namespace {

namespace fs = std::filesystem;

class XmlTest : public ::testing::Test {
protected:
    std::u16string path(const std::string& name) const
    {
        std::string native = (directory / name).string();
        return std::u16string(native.begin(), native.end());
    }

    void write(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(directory / name, std::ios::binary) << bytes;
    }

    std::string read(const std::string& name) const
    {
        std::ifstream in(directory / name, std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }

    os::XmlNode parse(const std::string& text) { return os::parse_xml(text.data(), text.size()); }

    TempDirectory temp;
    fs::path directory { temp.native() };
};

TEST_F(XmlTest, BooleansReadThroughTheTableAndWriteLowerCase)
{
    os::XmlNode document
        = parse(R"(<r a="TRUE" b="True" c="1" d="0" e="FALSE" f="yes" g="true "/>)");
    os::XmlNode root = os::find_child(document, u"r");
    bool value = false;
    for (const char16_t* name : { u"a", u"b", u"c" }) {
        value = false;
        EXPECT_TRUE(os::get_attribute(root, name, value));
        EXPECT_TRUE(value);
    }
    for (const char16_t* name : { u"d", u"e" }) {
        value = true;
        EXPECT_TRUE(os::get_attribute(root, name, value));
        EXPECT_FALSE(value);
    }
    // Unknown texts and missing attributes leave the caller's default alone.
    for (const char16_t* name : { u"f", u"g", u"missing" }) {
        value = true;
        EXPECT_FALSE(os::get_attribute(root, name, value));
        EXPECT_TRUE(value);
    }

    os::set_attribute(root, u"a", false);
    os::set_attribute(root, u"h", true);
    std::u16string text;
    ASSERT_TRUE(os::get_attribute(root, u"a", text));
    EXPECT_EQ(text, u"false");
    ASSERT_TRUE(os::get_attribute(root, u"h", text));
    EXPECT_EQ(text, u"true");
}

TEST_F(XmlTest, IntegersParseLikeTheDevice)
{
    os::XmlNode root = os::find_child(
        parse(R"(<r a="  -17abc" b="+42" c="abc" d="-" e="" f="4294967297"/>)"), u"r");
    int value = 5;
    EXPECT_TRUE(os::get_attribute(root, u"a", value));
    EXPECT_EQ(value, -17);
    EXPECT_TRUE(os::get_attribute(root, u"b", value));
    EXPECT_EQ(value, 42);
    // No digit after the sign: 0 and failure.
    value = 5;
    EXPECT_FALSE(os::get_attribute(root, u"c", value));
    EXPECT_EQ(value, 0);
    // Nothing but a sign, or nothing at all: failure, value untouched.
    value = 5;
    EXPECT_FALSE(os::get_attribute(root, u"d", value));
    EXPECT_FALSE(os::get_attribute(root, u"e", value));
    EXPECT_FALSE(os::get_attribute(root, u"missing", value));
    EXPECT_EQ(value, 5);
    // Wraps as 32-bit arithmetic does, without undefined behaviour.
    EXPECT_TRUE(os::get_attribute(root, u"f", value));
    EXPECT_EQ(value, 1);

    os::set_attribute(root, u"g", -2147483647L - 1);
    std::u16string text;
    ASSERT_TRUE(os::get_attribute(root, u"g", text));
    EXPECT_EQ(text, u"-2147483648");
}

TEST_F(XmlTest, ChildrenAreFoundByExactNameAndCountedWithTextAndComments)
{
    os::XmlNode document
        = parse("<Root>\n  <Item/>\n  <!-- note -->\n  <item/>text<?pi x?>\n</Root>");
    os::XmlNode root = os::find_child(document, u"Root");
    ASSERT_TRUE(root);
    EXPECT_FALSE(os::find_child(document, u"root"));
    // Item, comment, item, "text", processing instruction; no whitespace nodes.
    EXPECT_EQ(os::child_count(root), 5);
    EXPECT_EQ(os::find_child(root, u"item").node(), os::child_at(root, 2).node());
    EXPECT_EQ(os::find_child(root, u"Item").node(), os::child_at(root, 0).node());
    EXPECT_FALSE(os::child_at(root, 5));
    EXPECT_FALSE(os::child_at(root, -1));
    // Only elements carry attributes.
    std::u16string text = u"kept";
    EXPECT_FALSE(os::get_attribute(os::child_at(root, 1), u"x", text));
    EXPECT_EQ(text, u"kept");
}

TEST_F(XmlTest, EmptyHandlesAndBadFilesFailQuietly)
{
    os::XmlNode none;
    EXPECT_FALSE(os::find_child(none, u"a"));
    EXPECT_EQ(os::child_count(none), 0);
    EXPECT_FALSE(os::child_at(none, 0));
    EXPECT_FALSE(os::append_child(none, u"a"));
    std::u16string text;
    EXPECT_FALSE(os::get_attribute(none, u"a", text));
    os::set_attribute(none, u"a", u"b");
    EXPECT_FALSE(os::save_xml_file(none, path("none.xml")));

    EXPECT_FALSE(os::load_xml_file(path("missing.xml")));
    write("broken.xml", "<Settings><General PlaySound=\"true\"></Settings>");
    EXPECT_FALSE(os::load_xml_file(path("broken.xml")));
    write("empty.xml", "");
    EXPECT_FALSE(os::load_xml_file(path("empty.xml")));
    // A folder in place of the file opens but has no length to read.
    fs::create_directories(directory / "folder.xml");
    EXPECT_FALSE(os::load_xml_file(path("folder.xml")));
}

TEST_F(XmlTest, SavesRawUtf8WithoutDeclarationAndReadsItBack)
{
    os::XmlNode document = os::new_xml_document();
    os::XmlNode root = os::append_child(document, u"Settings");
    os::XmlNode general = os::append_child(root, u"General");
    os::set_attribute(general, u"PlaySound", true);
    os::set_attribute(general, u"Skin", u"Gr\u00fcn \"<&>\" \U0001F600");
    os::set_attribute(general, u"Language", u"English");

    // Only a document can be saved.
    EXPECT_FALSE(os::save_xml_file(root, path("element.xml")));
    EXPECT_FALSE(fs::exists(directory / "element.xml"));

    ASSERT_TRUE(os::save_xml_file(document, path("settings.xml")));
    EXPECT_EQ(read("settings.xml"),
        "<Settings><General PlaySound=\"true\" Skin=\"Gr\xC3\xBCn &quot;&lt;&amp;>&quot; "
        "\xF0\x9F\x98\x80\" Language=\"English\"/></Settings>");

    os::XmlNode loaded = os::load_xml_file(path("settings.xml"));
    std::u16string skin;
    ASSERT_TRUE(os::get_attribute(
        os::find_child(os::find_child(loaded, u"Settings"), u"General"), u"Skin", skin));
    EXPECT_EQ(skin, u"Gr\u00fcn \"<&>\" \U0001F600");
}

TEST_F(XmlTest, ReadsUtf16FilesWithByteOrderMark)
{
    std::string bytes = "\xFF\xFE";
    for (char c : std::string("<a v=\"\xE9\"/>")) {
        bytes += c;
        bytes += '\0';
    }
    write("utf16.xml", bytes);
    std::u16string value;
    ASSERT_TRUE(
        os::get_attribute(os::find_child(os::load_xml_file(path("utf16.xml")), u"a"), u"v", value));
    EXPECT_EQ(value, u"\u00e9");
}

TEST_F(XmlTest, AFailedSaveKeepsThePreviousFile)
{
    write("commands.xml", "<Commands><Command voice=\"001\"/></Commands>");
    os::XmlNode document = os::new_xml_document();
    os::XmlNode root = os::append_child(document, u"Commands");
    os::set_attribute(os::append_child(root, u"Command"), u"name", std::u16string(4096, u'x'));

    // A full disk, simulated by a file size limit below the new file's size.
    struct rlimit old_limit;
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old_limit), 0);
    auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old_limit;
    small.rlim_cur = 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    bool saved = os::save_xml_file(document, path("commands.xml"));
    ::setrlimit(RLIMIT_FSIZE, &old_limit);
    std::signal(SIGXFSZ, old_handler);

    EXPECT_FALSE(saved);
    EXPECT_EQ(read("commands.xml"), "<Commands><Command voice=\"001\"/></Commands>");
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(directory), fs::directory_iterator()), 1);

    // A folder that does not exist: false, nothing created.
    EXPECT_FALSE(os::save_xml_file(document, path("missing/commands.xml")));
    EXPECT_FALSE(fs::exists(directory / "missing"));
}

} // namespace
