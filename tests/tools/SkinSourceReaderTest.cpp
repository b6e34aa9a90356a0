#include "tools/skinc/SkinSourceReader.h"
#include "tools/skinc/SkinWriter.h"

#include <gtest/gtest.h>

using skinc::read_skin_source;
using skinc::SkinSource;

namespace {

SkinSource read_ok(const std::string& xml)
{
    SkinSource skin;
    std::string error;
    EXPECT_TRUE(read_skin_source(xml, "/src", skin, error)) << error;
    return skin;
}

std::string read_error(const std::string& xml)
{
    SkinSource skin;
    std::string error;
    EXPECT_FALSE(read_skin_source(xml, "/src", skin, error)) << xml;
    return error;
}

std::string wrap(const std::string& inside)
{
    return "<skin version='V'><form name='F'>" + inside + "</form></skin>";
}

} // namespace

TEST(SkinSourceReader, ReadsTheHeaderListsAndFiles)
{
    auto skin = read_ok(R"(<skin version="Ringwise_1.0" devices="PS">
        <design width="240" height="320"/>
        <design width="-1" height="2147483647"/>
        <design index="7" width="480" height="640"/>
        <design width="1" height="1"/>
        <picture name="back" file="img/back.bmp"/>
        <picture name="button"/>
        <font spec="14 1 0 0 Tahoma"/>
        <file path="sounds/start.wav"/>
        <file path="/abs/right.wav" entry="right.wav"/>
        <form name="F"/>
        <node name="N"/>
      </skin>)");
    EXPECT_EQ(skin.version, u"Ringwise_1.0");
    EXPECT_EQ(skin.devices, u"PS");
    EXPECT_EQ(skin.design_sizes[0].width, 240);
    EXPECT_EQ(skin.design_sizes[1].width, -1);
    EXPECT_EQ(skin.design_sizes[1].height, 2147483647);
    EXPECT_EQ(skin.design_sizes[7].height, 640);
    EXPECT_EQ(skin.design_sizes[8].width, 1);
    EXPECT_EQ(skin.design_sizes[2].width, 0);
    EXPECT_EQ(skin.pictures, (std::vector<std::u16string> { u"back", u"button" }));
    EXPECT_EQ(skin.fonts, (std::vector<std::u16string> { u"14 1 0 0 Tahoma" }));
    ASSERT_EQ(skin.files.size(), 3u);
    EXPECT_EQ(skin.files[0].source_path, "/src/img/back.bmp");
    EXPECT_EQ(skin.files[0].entry_name, "back.bmp");
    EXPECT_EQ(skin.files[1].entry_name, "start.wav");
    EXPECT_EQ(skin.files[2].source_path, "/abs/right.wav");
    ASSERT_EQ(skin.forms.size(), 1u);
    ASSERT_EQ(skin.nodes.size(), 1u);
}

TEST(SkinSourceReader, ReadsEveryPropertyForm)
{
    auto skin = read_ok(R"(<skin version="V">
        <picture name="a"/><picture name="b"/>
        <font spec="10"/>
        <form name="F">
          <integer name="I" value="-2147483648"/>
          <point name="P" value="-32768 32767"/>
          <string name="S" value="Caf&#233;"/>
          <string name="E"/>
          <color name="C1" value="#102030"/>
          <color name="C2" value="#10203040"/>
          <color name="C3" value="1 2 3 4"/>
          <picture name="R" image="b" rect="1 2 30 40"/>
          <picture name="M" index="0" rect="0 0 10 10" middle="3 3 7 7" mode="repeat"/>
          <picture name="X" image="a" coordinates="1 2 3 4 5 6 7 8" mode="9"/>
          <font name="F1" spec="10"/>
          <font name="F2" spec="12 1"/>
          <font name="F3" index="5"/>
          <auto id="btnClose" type="Auto.Button"/>
          <control name="btn"><integer name="TabOrder" value="3"/></control>
        </form>
      </skin>)");
    auto& form = skin.forms[0];
    auto& p = form.properties;
    EXPECT_EQ(p.integers[0].value, INT32_MIN);
    EXPECT_EQ(p.points[0].x, -32768);
    EXPECT_EQ(p.points[0].y, 32767);
    EXPECT_EQ(p.strings[0].value, u"Caf\u00e9");
    EXPECT_EQ(p.strings[1].value, u"");
    EXPECT_EQ(p.colors[0].bytes, (std::array<std::uint8_t, 4> { 0x10, 0x20, 0x30, 0 }));
    EXPECT_EQ(p.colors[1].bytes, (std::array<std::uint8_t, 4> { 0x10, 0x20, 0x30, 0x40 }));
    EXPECT_EQ(p.colors[2].bytes, (std::array<std::uint8_t, 4> { 1, 2, 3, 4 }));
    EXPECT_EQ(p.pictures[0].index, 1);
    EXPECT_EQ(
        p.pictures[0].coordinates, (std::array<std::uint16_t, 8> { 1, 2, 1, 2, 30, 40, 30, 40 }));
    EXPECT_EQ(p.pictures[0].mode, 1);
    EXPECT_EQ(
        p.pictures[1].coordinates, (std::array<std::uint16_t, 8> { 0, 0, 3, 3, 7, 7, 10, 10 }));
    EXPECT_EQ(p.pictures[1].mode, 0);
    EXPECT_EQ(p.pictures[2].coordinates, (std::array<std::uint16_t, 8> { 1, 2, 3, 4, 5, 6, 7, 8 }));
    EXPECT_EQ(p.pictures[2].mode, 9);
    // Specifications of font properties join the list once.
    EXPECT_EQ(skin.fonts, (std::vector<std::u16string> { u"10", u"12 1" }));
    EXPECT_EQ(p.fonts[0].index, 0u);
    EXPECT_EQ(p.fonts[1].index, 1u);
    EXPECT_EQ(p.fonts[2].index, 5u);
    ASSERT_EQ(form.auto_controls.size(), 1u);
    EXPECT_EQ(form.auto_controls[0].type, u"Auto.Button");
    ASSERT_EQ(form.controls.size(), 1u);
    EXPECT_EQ(form.controls[0].properties.integers[0].value, 3);
}

TEST(SkinSourceReader, MistakesAreReportedWithTheElement)
{
    EXPECT_NE(read_error("<skin version='V'/>").find("at least one <form>"), std::string::npos);
    EXPECT_NE(read_error("<skins/>").find("<skin>"), std::string::npos);
    EXPECT_NE(read_error("<skin").find("XML error"), std::string::npos);
    EXPECT_NE(read_error(wrap("<integr name='X' value='1'/>"))
                  .find("<integr name=\"X\">: unknown property type"),
        std::string::npos);
    EXPECT_NE(read_error(wrap("<integer name='X' valu='1'/>")).find("unknown attribute \"valu\""),
        std::string::npos);
    EXPECT_NE(read_error(wrap("<integer value='1'/>")).find("missing attribute \"name\""),
        std::string::npos);
    EXPECT_NE(read_error(wrap("<integer name='X' value='2147483648'/>")).find("outside"),
        std::string::npos);
    EXPECT_NE(read_error(wrap("<integer name='X' value='12abc'/>")).find("must hold numbers"),
        std::string::npos);
    EXPECT_NE(read_error(wrap("<point name='X' value='1'/>")).find("must hold 2 numbers"),
        std::string::npos);
    EXPECT_NE(
        read_error(wrap("<point name='X' value='1 40000'/>")).find("outside"), std::string::npos);
    EXPECT_NE(
        read_error(wrap("<color name='X' value='#12345'/>")).find("a color is"), std::string::npos);
    EXPECT_NE(read_error(wrap("<color name='X' value='#12345G'/>")).find("a color is"),
        std::string::npos);
    EXPECT_NE(read_error(wrap("<picture name='X' image='nope' rect='0 0 1 1'/>"))
                  .find("no declared <picture>"),
        std::string::npos);
    EXPECT_NE(read_error(wrap("<picture name='X' index='0'/>")).find("missing attribute \"rect\""),
        std::string::npos);
    EXPECT_NE(read_error(wrap("<control name='c'><auto id='a' type='b'/></control>"))
                  .find("unknown property type"),
        std::string::npos);
    EXPECT_NE(
        read_error(
            "<skin version='V'><form name='F'/><node name='N'><control name='c'/></node></skin>")
            .find("unknown property type"),
        std::string::npos);
    EXPECT_NE(read_error("<skin version='" + std::string(32, 'v') + "'><form name='F'/></skin>")
                  .find("31"),
        std::string::npos);
    EXPECT_NE(
        read_error(
            "<skin version='V'><design index='32' width='1' height='1'/><form name='F'/></skin>")
            .find("outside"),
        std::string::npos);
    EXPECT_NE(read_error(
                  "<skin version='V'><picture name='a'/><picture name='a'/><form name='F'/></skin>")
                  .find("declared twice"),
        std::string::npos);
}

TEST(SkinWriter, RefusesWhatTheBinaryFormatCannotHold)
{
    std::vector<std::uint8_t> bytes;
    std::string error;
    auto twice = read_ok(wrap("<integer name='A' value='1'/><integer name='A' value='2'/>"));
    EXPECT_FALSE(skinc::write_skin(twice, bytes, error));
    EXPECT_NE(error.find("two properties of one type named \"A\""), std::string::npos);
    // One name in two types is fine.
    EXPECT_TRUE(skinc::write_skin(
        read_ok(wrap("<integer name='A' value='1'/><string name='A' value='x'/>")), bytes, error));

    auto forms = read_ok("<skin version='V'><form name='F'/><form name='F'/></skin>");
    EXPECT_FALSE(skinc::write_skin(forms, bytes, error));
    EXPECT_NE(error.find("two of the forms are named \"F\""), std::string::npos);

    SkinSource big = read_ok(wrap(""));
    for (int i = 0; i < 700; ++i)
        big.forms[0].properties.strings.push_back({ u"S" + std::u16string(1, char16_t(0x4E00 + i)),
            std::u16string(50, char16_t(0x4E00 + i)) });
    EXPECT_FALSE(skinc::write_skin(big, bytes, error));
    EXPECT_NE(error.find("64 KiB"), std::string::npos);

    EXPECT_FALSE(skinc::write_skin(SkinSource {}, bytes, error));
}
