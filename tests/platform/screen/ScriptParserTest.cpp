#include "platform/screen/ScriptParser.h"
#include "platform/Screen.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace platform::detail;

namespace {

std::string error_of(std::string_view text)
{
    ParsedScript script = parse_script(text);
    EXPECT_TRUE(script.steps.empty());
    return script.error ? describe(*script.error) : "no error";
}

} // namespace

TEST(ScriptParser, StepsKeepTheirLineNumbersAndArguments)
{
    ParsedScript script = parse_script("# a comment\r\n\r\n  tap 10 -20\r\n\v\f\n"
                                       "wait-form FormSettings\nwait-form Main 50\n"
                                       "text  two  words \nkey Return\ndump out.txt\nwheel 1 2 -3");
    ASSERT_FALSE(script.error) << describe(*script.error);
    ASSERT_EQ(script.steps.size(), 7u);
    const ScriptStep& tap = script.steps[0];
    EXPECT_EQ(tap.action, ScriptAction::Tap);
    EXPECT_EQ(tap.line_number, 3u);
    EXPECT_EQ(tap.line, "tap 10 -20");
    EXPECT_EQ(tap.numbers, (std::vector<int> { 10, -20 }));
    EXPECT_EQ(script.steps[1].name, u"FormSettings");
    EXPECT_EQ(script.steps[1].milliseconds, 10000u);
    EXPECT_EQ(script.steps[2].milliseconds, 50u);
    // After the action and one blank, the rest as typed, inner blanks kept.
    EXPECT_EQ(script.steps[3].name, u" two  words");
    EXPECT_EQ(script.steps[4].key, platform::VK_RETURN);
    EXPECT_EQ(script.steps[5].file, "out.txt");
    // The last line needs no line end.
    EXPECT_EQ(script.steps[6].line_number, 10u);
    EXPECT_EQ(script.steps[6].numbers, (std::vector<int> { 1, 2, -3 }));
}

TEST(ScriptParser, ABadLineIsNamedWithItsNumberAndNothingIsKept)
{
    const std::vector<std::pair<std::string, std::string>> cases {
        { "frob 1 2", "frob 1 2: unknown action frob (line 2)" },
        { "tap 1", "tap 1: expected 2 numbers (line 2)" },
        { "tap 1 2 3", "tap 1 2 3: expected 2 numbers (line 2)" },
        { "tap 1 2x", "tap 1 2x: expected 2 numbers (line 2)" },
        { "tap 1 99999999999", "tap 1 99999999999: expected 2 numbers (line 2)" },
        { "drag 0 0 40000 0", "drag 0 0 40000 0: out of range: 40000 (line 2)" },
        { "wheel 1 1 300", "wheel 1 1 300: out of range: 300 (line 2)" },
        { "wait -1", "wait -1: negative wait (line 2)" },
        { "wait", "wait: expected 1 numbers (line 2)" },
        { "wait-form", "wait-form: expected a form kind and an optional limit (line 2)" },
        { "wait-form Main soon", "wait-form Main soon: bad limit (line 2)" },
        { "key Hyper", "key Hyper: unknown key Hyper (line 2)" },
        { "keyup", "keyup: expected one argument (line 2)" },
        { "tap-control a b", "tap-control a b: expected one argument (line 2)" },
        { "screenshot", "screenshot: expected a file name (line 2)" },
        { "dump   ", "dump: expected a file name (line 2)" },
    };
    for (const auto& [line, message] : cases)
        EXPECT_EQ(error_of("tap 1 1\n" + line + "\ntap 2 2\n"), message);
}

TEST(ScriptParser, HostileBytesAreReadWithoutHarm)
{
    // Zero bytes and broken UTF-8 are only unknown words or replaced text.
    EXPECT_EQ(error_of(std::string("tap\0 1 2", 8)).substr(0, 3), "tap");
    ParsedScript text = parse_script("text \xFF\xC3\n");
    ASSERT_EQ(text.steps.size(), 1u);
    EXPECT_EQ(text.steps[0].name, u"\uFFFD\uFFFD");
    ParsedScript blank = parse_script(std::string(100000, '\n') + "\f\t\v");
    EXPECT_FALSE(blank.error);
    EXPECT_TRUE(blank.steps.empty());
    EXPECT_EQ(error_of("\n\n\xE2\x80\xA8"), "\xE2\x80\xA8: unknown action \xE2\x80\xA8 (line 3)");
}
