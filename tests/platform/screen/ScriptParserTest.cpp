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

TEST(ScriptParser, EventWaitsTakeTheirConditionsAndOptionalLimits)
{
    ParsedScript script = parse_script("wait-until grid rows=4 text~=Bob selected!=-1\n"
                                       "wait-until message visible=0 90000\n"
                                       "wait-file /tmp/go\nwait-file go 5\nwait-sounds 2\n"
                                       "wait-sounds 1 100\n");
    ASSERT_FALSE(script.error) << describe(*script.error);
    ASSERT_EQ(script.steps.size(), 6u);
    const ScriptStep& grid = script.steps[0];
    EXPECT_EQ(grid.action, ScriptAction::WaitUntil);
    EXPECT_EQ(grid.name, u"grid");
    EXPECT_EQ(grid.milliseconds, 30000u);
    ASSERT_EQ(grid.conditions.size(), 3u);
    EXPECT_EQ(grid.conditions[1].test, ScriptCondition::Test::Contains);
    EXPECT_EQ(grid.conditions[2].text(), "selected!=-1");
    EXPECT_EQ(script.steps[1].milliseconds, 90000u);
    EXPECT_EQ(script.steps[2].file, "/tmp/go");
    EXPECT_EQ(script.steps[3].milliseconds, 5u);
    EXPECT_EQ(script.steps[4].count, 2u);
    EXPECT_EQ(script.steps[5].milliseconds, 100u);

    for (const auto& [line, reason] : std::vector<std::pair<std::string, std::string>> {
             { "wait-until grid", "expected a control id and conditions" },
             { "wait-until grid 500", "bad condition 500" },
             { "wait-until grid rows=4 soon", "bad limit" },
             { "wait-until grid =4 rows=4", "bad condition =4" },
             { "wait-until grid ro-ws=4", "bad condition ro-ws=4" },
             { "wait-file", "expected a file name and an optional limit" },
             { "wait-file go -5", "bad limit" },
             { "wait-sounds 0", "bad count" },
             { "wait-sounds", "expected a count and an optional limit" },
         })
        EXPECT_EQ(error_of(line), line + ": " + reason + " (line 1)");
}

TEST(ScriptCondition, FieldsAreReadAsTheDumpWritesThem)
{
    const std::string dump = "form FormRecognizing inactive 10 52 220 260\n"
                             "control frmName ControlFrame 20 62 200 22 visible=1 enabled=1 "
                             "focused=0 text=Old\n"
                             "form MessageOk active 0 100 240 80\n"
                             "control frmName ControlFrame 0 100 200 22 visible=1 enabled=1 "
                             "focused=0 text=Call failed\\n030 2\n"
                             "control grid ControlGrid 0 0 240 200 visible=1 enabled=0 "
                             "focused=1 rows=4 first=0 selected=1 selected_text=\tBob, 0777 123\n";
    // The active form's control wins over an inactive form's of that id.
    auto name = control_fields(dump, "frmName");
    ASSERT_TRUE(name);
    EXPECT_EQ(field_value(*name, "text"), "Call failed\\n030 2");
    EXPECT_FALSE(control_fields(dump, "frm"));
    EXPECT_EQ(control_fields("form A inactive 0 0 1 1\ncontrol x C 0 0 1 1 visible=0\n", "x"),
        "visible=0");

    auto grid = control_fields(dump, "grid");
    ASSERT_TRUE(grid);
    auto holds = [&](const char* word) { return ScriptCondition::parse(word)->holds(*grid); };
    EXPECT_TRUE(holds("rows=4"));
    EXPECT_FALSE(holds("rows=40"));
    EXPECT_FALSE(holds("rows=")) << "an exact value";
    EXPECT_TRUE(holds("enabled!=1"));
    EXPECT_FALSE(holds("focused!=1"));
    EXPECT_TRUE(holds("selected_text~=0777"));
    EXPECT_FALSE(holds("checked=0")) << "a field the control lacks holds nothing";
    EXPECT_FALSE(holds("checked!=1"));
    EXPECT_FALSE(ScriptCondition::parse("rows"));
}
