#include "platform/graphics/TextRenderer.h"
#include "skinner/ControlFrame.h"
#include "skinner/ControlProgress.h"
#include "skinner/FontRep.h"

#include "tests/skinner/ControlFixture.h"

using namespace control_test;
using skinner::ControlFrame;
using skinner::ControlProgress;

namespace {

class FrameTest : public ControlFixture {
protected:
    void TearDown() override
    {
        ControlFrame::set_separator({});
        ControlFixture::TearDown();
    }

    skinc::Node frame(const std::u16string& id, std::int16_t y, std::int16_t w, std::int16_t h,
        const std::u16string& text, bool wrap)
    {
        skinc::Node node = control_node(id, 0, y, w, h);
        add_string(node, u"Text", text);
        add_integer(node, u"Wrap", wrap ? 1 : 0);
        return node;
    }

    static std::u16string joined(const ControlFrame& frame, const std::u16string& between)
    {
        std::u16string text;
        for (const skinner::TextLine& line : frame.lines())
            text += (text.empty() ? u"" : between) + line.text;
        return text;
    }
};

class ProgressTest : public ControlFixture { };

} // namespace

TEST_F(FrameTest, WrappingBreaksAtTheLastBlankAndKeepsALongWordWhole)
{
    const std::u16string words = u"one two three four five six seven eight nine ten";
    const std::u16string word(40, u'w');
    auto skin = load_skin({ form_node(u"Form",
        { frame(u"words", 0, 100, 100, words, true), frame(u"word", 100, 100, 20, word, true),
            frame(u"plain", 120, 100, 20, words, false) }) });
    StepForm form(*skin, u"Form");
    ControlFrame wrapped(form, u"words");
    ControlFrame long_word(form, u"word");
    ControlFrame plain(form, u"plain");

    ASSERT_GT(wrapped.lines().size(), 2u);
    for (const skinner::TextLine& line : wrapped.lines())
        EXPECT_LE(line.size.width, 100) << platform::to_utf8(line.text);
    EXPECT_EQ(joined(wrapped, u" "), words);
    // The text without blanks is wider than the frame and stays one line.
    ASSERT_EQ(long_word.lines().size(), 1u);
    EXPECT_GT(long_word.lines()[0].size.width, 100);
    EXPECT_EQ(plain.lines().size(), 1u);

    // A wider frame takes more on each line.
    std::size_t narrow_lines = wrapped.lines().size();
    wrapped.set_rect(wrapped.position(), { 400, 100 });
    EXPECT_LT(wrapped.lines().size(), narrow_lines);
}

TEST_F(FrameTest, LineFeedsAndTheApplicationsSeparatorEndLines)
{
    ControlFrame::set_separator(u"||");
    auto skin = load_skin({ form_node(u"Form", { frame(u"f", 0, 200, 100, u"a||b\nc", true) }) });
    StepForm form(*skin, u"Form");
    ControlFrame lines(form, u"f");
    EXPECT_EQ(joined(lines, u"/"), u"a/b/c");
    lines.set_text(u"x\n\ny");
    EXPECT_EQ(lines.lines().size(), 3u);
    EXPECT_GT(lines.lines()[1].size.height, 0);
}

TEST_F(FrameTest, TheTextExtentIncludesTheInsetsAndSizesAnAutoSizedFrame)
{
    skinc::Node sized = frame(u"auto", 0, 10, 10, u"first line\nsecond", true);
    add_point(sized, u"BorderMin", 3, 4);
    add_point(sized, u"BorderMax", 5, 6);
    add_integer(sized, u"AutoSize", 1);
    skinc::Node fixed = frame(u"fixed", 20, 10, 10, u"first line\nsecond", true);
    auto skin = load_skin({ form_node(u"Form", { sized, fixed }) });
    StepForm form(*skin, u"Form");
    ControlFrame grows(form, u"auto");
    ControlFrame stays(form, u"fixed");
    // Two pixels of room: every word on a line of its own.
    ASSERT_EQ(grows.lines().size(), 3u);
    int widest = 0;
    int height = 0;
    for (const skinner::TextLine& line : grows.lines()) {
        widest = std::max(widest, line.size.width);
        height += line.size.height;
    }
    EXPECT_EQ(grows.text_extent(), (platform::Size { widest + 8, height + 10 }));
    EXPECT_EQ(grows.preferred_size(), grows.text_extent());
    EXPECT_EQ(stays.preferred_size(), (platform::Size { 10, 10 }));
}

TEST_F(FrameTest, AnEllipsisEndsATextThatDoesNotFit)
{
    const platform::Font& font = skinner::FontRep::find(skinner::FontDescription {}).font();
    std::u16string text = u"A rather long caption for a small label";
    std::u16string shortened = skinner::shorten_with_ellipsis(font, text, 60);
    ASSERT_FALSE(shortened.empty());
    EXPECT_EQ(shortened.back(), u'\u2026');
    EXPECT_LE(platform::measure_text(font, shortened).width, 60);
    EXPECT_EQ(text.compare(0, shortened.size() - 1, shortened, 0, shortened.size() - 1), 0);
    EXPECT_EQ(skinner::shorten_with_ellipsis(font, u"fits", 200), u"fits");
}

TEST_F(FrameTest, LinesStackFromTheTopTheMiddleOrTheBottom)
{
    std::uint8_t white = solid(WHITE);
    std::vector<skinc::Node> frames;
    const std::u16string alignments[] = { u"TOP", u"VCENTER", u"BOTTOM" };
    for (int i = 0; i < 3; ++i) {
        skinc::Node node = frame(u"f" + alignments[i], static_cast<std::int16_t>(i * 110), 200, 100,
            u"First line\nSecond line", true);
        add_string(node, u"VAlignment", alignments[i]);
        add_string(node, u"HAlignment", u"LEFT");
        add_picture(node, u"Normal", white);
        add_color(node, u"Normal", BLACK);
        frames.push_back(node);
    }
    auto skin = load_skin({ form_node(u"Form", frames, 240, 340) });
    StepForm form(*skin, u"Form");
    ControlFrame top(form, u"fTOP");
    ControlFrame middle(form, u"fVCENTER");
    ControlFrame bottom(form, u"fBOTTOM");
    int total = top.text_extent().height;
    ASSERT_GT(total, 10);
    ASSERT_LT(total, 50);
    form.run({ [&] {
        EXPECT_TRUE(drawn_in(form, { 0, 0, 200, total }, WHITE));
        EXPECT_FALSE(drawn_in(form, { 0, total + 1, 200, 100 }, WHITE));
        int start = (100 - total) / 2;
        EXPECT_FALSE(drawn_in(form, { 0, 110, 200, 110 + start - 1 }, WHITE));
        EXPECT_TRUE(drawn_in(form, { 0, 110 + start, 200, 110 + start + total }, WHITE));
        EXPECT_FALSE(drawn_in(form, { 0, 110 + start + total + 1, 200, 210 }, WHITE));
        EXPECT_FALSE(drawn_in(form, { 0, 220, 200, 320 - total - 1 }, WHITE));
        EXPECT_TRUE(drawn_in(form, { 0, 320 - total, 200, 320 }, WHITE));
        // Left aligned: nothing at the right end.
        EXPECT_FALSE(drawn_in(form, { 150, 0, 200, 100 }, WHITE));
    } });
}

TEST_F(FrameTest, ALineThatDoesNotFitEndsTheDrawing)
{
    skinc::Node node = frame(u"f", 0, 200, 20, u"One\nTwo\nThree", true);
    add_string(node, u"VAlignment", u"TOP");
    add_picture(node, u"Normal", solid(WHITE));
    add_color(node, u"Normal", BLACK);
    auto skin = load_skin({ form_node(u"Form", { node }) });
    StepForm form(*skin, u"Form");
    ControlFrame frame(form, u"f");
    // Room for one line and a half: the second line is not drawn at all.
    int line = frame.lines()[0].size.height;
    frame.set_rect(frame.position(), { 200, line + line / 2 });
    form.run({ [&] {
        EXPECT_TRUE(drawn_in(form, { 0, 0, 200, line }, WHITE));
        EXPECT_FALSE(drawn_in(form, { 0, line, 200, line + line / 2 }, WHITE));
    } });
}

TEST_F(ProgressTest, TheValueFillsFromWhereItGrows)
{
    std::uint8_t white = solid(WHITE);
    std::uint8_t green = solid(GREEN);
    std::vector<skinc::Node> bars;
    for (int orientation = 0; orientation < 4; ++orientation) {
        skinc::Node bar = control_node(u"bar" + std::u16string(1, u'0' + orientation),
            static_cast<std::int16_t>(orientation * 110), 0, 100, 100);
        add_integer(bar, u"Orientation", orientation);
        add_picture(bar, u"Background", white);
        add_picture(bar, u"Progress", green);
        bars.push_back(bar);
    }
    auto skin = load_skin({ form_node(u"Form", bars, 460, 120) });
    StepForm form(*skin, u"Form");
    std::vector<std::unique_ptr<ControlProgress>> progress;
    for (int orientation = 0; orientation < 4; ++orientation) {
        progress.push_back(std::make_unique<ControlProgress>(
            form, u"bar" + std::u16string(1, u'0' + orientation)));
        progress.back()->set_value(0.5);
    }
    form.run({ [&] {
        // 0: top to bottom.
        EXPECT_EQ(pixel(form, 50, 10), GREEN);
        EXPECT_EQ(pixel(form, 50, 90), WHITE);
        // 1: right to left, the right half.
        EXPECT_EQ(pixel(form, 110 + 90, 50), GREEN);
        EXPECT_EQ(pixel(form, 110 + 10, 50), WHITE);
        EXPECT_EQ(pixel(form, 110 + 50, 50), GREEN);
        EXPECT_EQ(pixel(form, 110 + 49, 50), WHITE);
        // 2: bottom to top, the lower half.
        EXPECT_EQ(pixel(form, 220 + 50, 90), GREEN);
        EXPECT_EQ(pixel(form, 220 + 50, 50), GREEN);
        EXPECT_EQ(pixel(form, 220 + 50, 49), WHITE);
        EXPECT_EQ(pixel(form, 220 + 50, 10), WHITE);
        // 3: left to right.
        EXPECT_EQ(pixel(form, 330 + 10, 50), GREEN);
        EXPECT_EQ(pixel(form, 330 + 90, 50), WHITE);
    } });
}

TEST_F(ProgressTest, TheThumbSitsAtTheValueAndShowsDisabled)
{
    skinc::Node bar = control_node(u"bar", 0, 0, 100, 20);
    add_integer(bar, u"TrackSize", 10);
    add_picture(bar, u"Background", solid(WHITE));
    add_picture(bar, u"Track", solid(BLUE));
    add_picture(bar, u"TrackDisabled", solid(GREY));
    skinc::Node mirrored = control_node(u"mirrored", 0, 30, 100, 20);
    add_integer(mirrored, u"TrackSize", 10);
    add_integer(mirrored, u"Orientation", 1);
    add_picture(mirrored, u"Track", solid(BLUE));
    auto skin = load_skin({ form_node(u"Form", { bar, mirrored }) });
    StepForm form(*skin, u"Form");
    ControlProgress slider(form, u"bar");
    ControlProgress back(form, u"mirrored");
    form.run({
        [&] {
            EXPECT_EQ(pixel(form, 0, 10), BLUE);
            EXPECT_EQ(pixel(form, 9, 10), BLUE);
            EXPECT_EQ(pixel(form, 10, 10), WHITE);
            EXPECT_EQ(pixel(form, 95, 40), BLUE);
            slider.set_value(1);
            slider.set_enabled(false);
        },
        [&] {
            EXPECT_EQ(pixel(form, 95, 10), GREY);
            EXPECT_EQ(pixel(form, 85, 10), WHITE);
        },
    });
}

TEST_F(ProgressTest, SettingTheValueClampsAndReportsChanges)
{
    auto skin = load_skin({ form_node(u"Form", { control_node(u"bar", 0, 0, 100, 20) }) });
    Recorder recorder;
    StepForm form(*skin, u"Form", &recorder);
    ControlProgress bar(form, u"bar");
    bar.set_value(1.5);
    bar.set_value(1);
    bar.set_value(-3);
    bar.set_value(0.25);
    EXPECT_EQ(recorder.events,
        (std::vector<std::string> { "value bar 1", "value bar 0", "value bar 0.25" }));
    EXPECT_EQ(bar.describe(), "value=0.25");
}

TEST_F(ProgressTest, DraggingAsksTheListenerForValues)
{
    skinc::Node bar = control_node(u"bar", 0, 0, 100, 20);
    add_integer(bar, u"TrackSize", 10);
    skinc::Node mirrored = control_node(u"mirrored", 0, 30, 100, 20);
    add_integer(mirrored, u"TrackSize", 10);
    add_integer(mirrored, u"Orientation", 1);
    skinc::Node full = control_node(u"full", 0, 60, 10, 20);
    add_integer(full, u"TrackSize", 10);
    auto skin = load_skin({ form_node(u"Form", { bar, mirrored, full }) });
    Recorder recorder;
    StepForm form(*skin, u"Form", &recorder);
    ControlProgress slider(form, u"bar");
    ControlProgress back(form, u"mirrored");
    ControlProgress no_room(form, u"full");
    form.run({
        [&] {
            tap(form, 50, 10, false);
            release_at(form, 99, 10);
            tap(form, 50, 40, false);
            release_at(form, 5, 40);
            tap(form, 5, 70);
        },
        [&] {
            EXPECT_EQ(recorder.events,
                (std::vector<std::string> { "requested bar 0.5", "requested bar 1", "dragged bar",
                    "requested mirrored 0.5", "requested mirrored 1", "dragged mirrored",
                    "dragged full" }));
            // The listener decides: nothing changed the values.
            EXPECT_EQ(slider.value(), 0);
            EXPECT_EQ(back.value(), 0);
        },
    });
}
