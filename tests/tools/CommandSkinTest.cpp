#include "tools/skinc/ZipWriter.h"

#include "platform/LittleEndian.h"

#include "tests/support/TempDirectory.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sys/wait.h>

namespace {

struct Run {
    int status;
    std::string output;
};

// Runs a program of the build with its arguments, each quoted, and returns
// its exit status and standard output; standard error is dropped.
Run run(const std::string& program, const std::vector<std::string>& arguments)
{
    std::string command = std::string("'") + RINGWISE_BINARY_DIR + "/bin/" + program + "'";
    for (auto& argument : arguments)
        command += " '" + argument + "'";
    command += " 2>/dev/null";
    Run result { -1, {} };
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return result;
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
        result.output.append(buffer, n);
    int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

const char* SOURCE = R"(<skin version="Ringwise_1.0" devices="P">
  <design width="240" height="320"/>
  <design index="3" width="480" height="640"/>
  <picture name="back" file="back.bmp"/>
  <font spec="12 0 0 0 Tahoma"/>
  <file path="start.wav"/>
  <form name="FormRecognizing"><point name="Size" value="240 268"/></form>
  <form name="FormRecognizing_big"><point name="Size" value="480 640"/></form>
  <form name="FormSettings"><point name="Size" value="200 200"/><string name="Devices" value="S"/></form>
</skin>
)";

// A 2 x 2 picture in the 24-bit BMP format.
std::string bmp()
{
    std::string file = "BM";
    auto put32 = [&](std::uint32_t value) { platform::append_u32le(file, value); };
    auto put16 = [&](std::uint16_t value) { platform::append_u16le(file, value); };
    put32(14 + 40 + 16);
    put32(0);
    put32(14 + 40);
    put32(40);
    put32(2);
    put32(2);
    put16(1);
    put16(24);
    for (int i = 0; i < 6; ++i)
        put32(0);
    file += std::string("\xff\x00\x00\x00\xff\x00\x00\x00", 8);
    file += std::string("\x00\x00\xff\xff\xff\xff\x00\x00", 8);
    return file;
}

class CommandSkin : public ::testing::Test {
protected:
    void SetUp() override
    {
        directory.write("skin.xml", SOURCE);
        directory.write("back.bmp", bmp());
        directory.write("start.wav", "RIFF fake sound");
        ASSERT_EQ(
            run("skinc", { directory.native("skin.xml"), directory.native("plain.skin") }).status,
            0);
        ASSERT_EQ(
            run("skinc",
                { "--archive", directory.native("skin.xml"), directory.native("zipped.skin") })
                .status,
            0);
    }

    TempDirectory directory;
};

} // namespace

TEST_F(CommandSkin, PrintsHeaderScaleWorkAreaAndVariantChoice)
{
    auto result = run("ringwise-tool",
        { "skin", directory.native("plain.skin"), "--screen", "720x960", "--tag", "Ringwise_1.0",
            "--kind", "FormRecognizing" });
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.output,
        "valid yes\n"
        "version Ringwise_1.0\n"
        "devices P\n"
        "design 0 240 320\n"
        "design 3 480 640\n"
        "pictures 1\n"
        "fonts 1\n"
        "scale 3\n"
        "workarea 720 804\n"
        "check_version yes\n"
        "variant FormRecognizing\n"
        "+FormRecognizing_big Size=1440 1920 Devices= good_for_device\n"
        "+FormRecognizing Size=720 804 Devices= good_for_device\n"
        "-FormSettings\n");
}

TEST_F(CommandSkin, ArchiveSkinsLoadAsPlainOnesAndKeepTheirFiles)
{
    auto plain = run(
        "ringwise-tool", { "skin", directory.native("plain.skin"), "--kind", "FormSettings" });
    auto zipped = run(
        "ringwise-tool", { "skin", directory.native("zipped.skin"), "--kind", "FormSettings" });
    EXPECT_EQ(zipped.status, 0);
    EXPECT_EQ(zipped.output, plain.output);
    std::string archive = directory.read("zipped.skin");
    EXPECT_EQ(archive.compare(30, 11, "zipped.skin"), 0);
    EXPECT_NE(archive.find("back.bmp" + bmp()), std::string::npos);
    EXPECT_NE(archive.find("start.wavRIFF fake sound"), std::string::npos);
}

TEST_F(CommandSkin, DefaultsAndPlatformChangeTheAnswers)
{
    auto defaults = run("ringwise-tool",
        { "skin", directory.native("plain.skin"), "--tag", "Other", "--kind", "" });
    EXPECT_EQ(defaults.status, 0);
    EXPECT_NE(defaults.output.find("scale 1\nworkarea 0 0\ncheck_version no\nvariant none\n"),
        std::string::npos);
    EXPECT_EQ(defaults.output.substr(defaults.output.size() - 13), "variant none\n");

    auto phone = run("ringwise-tool",
        { "skin", directory.native("plain.skin"), "--platform", "Smartphone", "--screen", "240x320",
            "--tag", "", "--kind", "FormSettings" });
    // The skin is for Pocket PCs; the variant is for Smartphones.
    EXPECT_NE(phone.output.find("workarea 240 266\ncheck_version no\nvariant FormSettings\n"
                                "-FormRecognizing_big\n-FormRecognizing\n"
                                "+FormSettings Size=200 200 Devices=S good_for_device\n"),
        std::string::npos);
    auto pocket = run(
        "ringwise-tool", { "skin", directory.native("plain.skin"), "--kind", "FormSettings" });
    EXPECT_NE(pocket.output.find("variant none\n-FormRecognizing_big\n-FormRecognizing\n"
                                 "+FormSettings Size=200 200 Devices=S\n"),
        std::string::npos);
}

TEST_F(CommandSkin, InvalidSkinsPrintOnlyTheirVerdictAndBadUsageFails)
{
    directory.write("bad.skin", "not a skin");
    // Pictures are loaded as the program loads them: one that is not there
    // makes the skin invalid.
    directory.write("elsewhere/nopicture.skin", directory.read("plain.skin"));
    EXPECT_EQ(run("ringwise-tool", { "skin", directory.native("elsewhere/nopicture.skin") }).output,
        "valid no\n");
    auto invalid = run("ringwise-tool", { "skin", directory.native("bad.skin"), "--kind", "Form" });
    EXPECT_EQ(invalid.status, 1);
    EXPECT_EQ(invalid.output, "valid no\n");
    EXPECT_EQ(run("ringwise-tool", { "skin" }).status, 2);
    EXPECT_EQ(
        run("ringwise-tool", { "skin", directory.native("plain.skin"), "--screen", "480" }).status,
        2);
    EXPECT_EQ(
        run("ringwise-tool", { "skin", directory.native("plain.skin"), "--screen", "-1x5" }).status,
        2);
    EXPECT_EQ(run("ringwise-tool", { "skin", directory.native("plain.skin"), "--platform", "Palm" })
                  .status,
        2);
    EXPECT_EQ(run("ringwise-tool", { "skin", directory.native("plain.skin"), "--kind" }).status, 2);
    EXPECT_EQ(run("ringwise-tool", { "skin", "a.skin", "b.skin" }).status, 2);
}

TEST_F(CommandSkin, CompilerFailuresAreReported)
{
    directory.write(
        "broken.xml", "<skin version='V'><form name='F'><integer name='I'/></form></skin>");
    EXPECT_EQ(
        run("skinc", { directory.native("broken.xml"), directory.native("out.skin") }).status, 1);
    EXPECT_FALSE(directory.exists("out.skin"));
    EXPECT_EQ(
        run("skinc", { directory.native("missing.xml"), directory.native("out.skin") }).status, 1);
    EXPECT_EQ(run("skinc", { directory.native("skin.xml") }).status, 2);
    directory.write(
        "nofile.xml", "<skin version='V'><file path='gone.wav'/><form name='F'/></skin>");
    EXPECT_EQ(
        run("skinc", { "--archive", directory.native("nofile.xml"), directory.native("out.skin") })
            .status,
        1);
    EXPECT_EQ(
        run("skinc", { directory.native("nofile.xml"), directory.native("out.skin") }).status, 0);
}
