#include "skinner/ControlButton.h"
#include "skinner/ControlPanel.h"
#include "skinner/ControlPanelAutoScroll.h"
#include "skinner/ControlScrollBar.h"

#include "tests/skinner/ControlFixture.h"

using namespace control_test;
using skinner::ControlButton;
using skinner::ControlPanel;
using skinner::ControlScrollBar;
using Part = ControlScrollBar::Part;

namespace {

class ScrollBarTest : public ControlFixture {
protected:
    // A vertical bar of 20 x 200 at (0, 0): step buttons of 20, a track of
    // 160, a thumb of at least 10.
    std::unique_ptr<skinner::Skin> bar_skin()
    {
        skinc::Node bar = control_node(u"bar", 0, 0, 20, 200);
        add_string(bar, u"KindMin", u"SbMin");
        add_string(bar, u"KindMax", u"SbMax");
        add_string(bar, u"KindSpace", u"SbSpace");
        add_string(bar, u"KindTrack", u"SbTrack");
        add_integer(bar, u"Vertical", 1);
        add_integer(bar, u"MinButtonSize", 10);
        std::vector<skinc::Node> nodes;
        const std::pair<const char16_t*, platform::Color> parts[] = { { u"SbMin", RED },
            { u"SbMax", GREEN }, { u"SbSpace", WHITE }, { u"SbTrack", BLUE } };
        for (auto [name, colour] : parts) {
            skinc::Node node = skin_builder::node(name);
            add_picture(node, u"Normal", solid(colour));
            nodes.push_back(node);
        }
        return load_skin({ form_node(u"Form", { bar }) }, nodes);
    }

    static platform::Rect part_rect(const ControlScrollBar& bar, Part part)
    {
        return bar.part(part)->rect();
    }
};

class PanelTest : public ControlFixture { };

} // namespace

TEST_F(ScrollBarTest, EveryChangeReclampsMaximumThenPageThenPosition)
{
    auto skin = bar_skin();
    Recorder recorder;
    StepForm form(*skin, u"Form", &recorder);
    ControlScrollBar bar(form, u"bar");
    EXPECT_EQ(bar.page(), 1);
    bar.set_range(0, 100);
    bar.set_page(30);
    bar.set_position(90);
    EXPECT_EQ(bar.position(), 70);
    bar.set_page(200);
    EXPECT_EQ(bar.page(), 100);
    EXPECT_EQ(bar.position(), 0);
    bar.set_range(50, 20);
    EXPECT_EQ(bar.maximum(), 50);
    EXPECT_EQ(bar.page(), 0);
    EXPECT_EQ(bar.position(), 50);
    bar.set_position(-5);
    EXPECT_EQ(recorder.events, (std::vector<std::string> { "scroll 70", "scroll 0", "scroll 50" }));
    EXPECT_EQ(bar.describe(), "value=50");
}

TEST_F(ScrollBarTest, TheThumbShowsPageAndPositionInProportion)
{
    auto skin = bar_skin();
    StepForm form(*skin, u"Form");
    ControlScrollBar bar(form, u"bar");
    bar.set_range(0, 100);
    bar.set_page(25);
    EXPECT_EQ(part_rect(bar, Part::Decrement), (platform::Rect { 0, 0, 20, 20 }));
    EXPECT_EQ(part_rect(bar, Part::Increment), (platform::Rect { 0, 180, 20, 200 }));
    EXPECT_EQ(part_rect(bar, Part::Thumb), (platform::Rect { 0, 20, 20, 60 }));
    bar.set_position(75);
    EXPECT_EQ(part_rect(bar, Part::Thumb), (platform::Rect { 0, 140, 20, 180 }));
    EXPECT_EQ(part_rect(bar, Part::PageBefore), (platform::Rect { 0, 20, 20, 140 }));
    EXPECT_TRUE(part_rect(bar, Part::PageAfter).is_empty());
    // 160 × 1 / 100 rounds to 2, raised to the smallest thumb.
    bar.set_page(1);
    EXPECT_EQ(part_rect(bar, Part::Thumb).height(), 10);
    form.run({ [&] {
        EXPECT_EQ(pixel(form, 10, 5), RED);
        EXPECT_EQ(pixel(form, 10, 195), GREEN);
        platform::Rect thumb = part_rect(bar, Part::Thumb);
        EXPECT_EQ(pixel(form, 10, thumb.top + 5), BLUE);
        EXPECT_EQ(pixel(form, 10, thumb.top - 5), WHITE);
    } });
}

TEST_F(ScrollBarTest, ButtonsStepByLinesAndPagesAndTheThumbDrags)
{
    auto skin = bar_skin();
    Recorder recorder;
    StepForm form(*skin, u"Form", &recorder);
    ControlScrollBar bar(form, u"bar");
    bar.set_range(0, 100);
    bar.set_page(25);
    form.run({
        [&] {
            tap(form, 10, 190);
            tap(form, 10, 190);
            tap(form, 10, 5);
        },
        [&] {
            EXPECT_EQ(bar.position(), 1);
            // Below the thumb: a page down.
            tap(form, 10, 150);
        },
        [&] {
            EXPECT_EQ(bar.position(), 26);
            platform::Rect thumb = part_rect(bar, Part::Thumb);
            tap(form, 10, thumb.top + 5, false);
            // 60 of the 120 free pixels: half of the 75 positions.
            release_at(form, 10, thumb.top + 65);
        },
        [&] {
            EXPECT_EQ(bar.position(), 26 + 38);
            // Parts fire nothing of their own.
            for (const std::string& event : recorder.events)
                EXPECT_EQ(event.rfind("scroll ", 0), 0u) << event;
        },
    });
}

TEST_F(ScrollBarTest, AHeldButtonRepeatsAfterFivePeriods)
{
    auto skin = bar_skin();
    StepForm form(*skin, u"Form");
    ControlScrollBar bar(form, u"bar");
    bar.set_range(0, 100);
    bar.set_page(10);
    int early = -1;
    form.run({
                 [&] { tap(form, 10, 190, false); },
                 [&] { early = bar.position(); },
                 [&] {},
                 [&] {},
                 [&] {
                     int late = bar.position();
                     release_at(form, 10, 190);
                     EXPECT_EQ(early, 1);
                     // About 1.2 s held: repeats from 0.5 s on, one per 0.1 s, so
                     // at most nine steps (fewer when the machine is slow).
                     EXPECT_GE(late, 4);
                     EXPECT_LE(late, 10);
                 },
             },
        0.3);
}

TEST_F(PanelTest, ThePanelsControlsComeFromItsTemplateAndFollowItsAnchors)
{
    skinc::Node templ = skin_builder::variant(u"PanelForm", 100, 100);
    add_picture(templ, u"Background", solid(GREEN));
    skinc::Node inner = control_node(u"inner", 10, 10, 20, 20);
    add_string(inner, u"AnchorX", u"MAX_SIDE");
    add_picture(inner, u"Normal", solid(RED));
    templ.controls = { inner, control_node(u"auto", 0, 80, 10, 10) };
    templ.auto_controls = { { u"auto", u"Auto.Frame" } };
    skinc::Node panel = control_node(u"panel", 50, 50, 200, 100);
    add_string(panel, u"FormTemplate", u"PanelForm");
    add_picture(panel, u"Background", solid(YELLOW));
    auto skin = load_skin({ form_node(u"Form", { panel }, 300, 200), templ });
    Recorder recorder;
    StepForm form(*skin, u"Form", &recorder);
    ControlPanel shown(form, u"panel");
    ControlButton button(shown.panel_container(), u"inner");
    EXPECT_NE(shown.panel_container().find_control(u"auto"), nullptr);
    EXPECT_EQ(button.rect(), (platform::Rect { 160, 60, 180, 80 }));
    form.run({
        [&] {
            // The template's form-level background wins over the panel's own.
            EXPECT_EQ(pixel(form, 55, 55), GREEN);
            EXPECT_EQ(pixel(form, 165, 65), RED);
            tap(form, 165, 65);
        },
        [&] {
            EXPECT_EQ(recorder.events, std::vector<std::string> { "control inner" });
            shown.set_rect({ 20, 20 }, { 250, 100 });
            EXPECT_EQ(button.rect(), (platform::Rect { 180, 30, 200, 50 }));
        },
    });
}

TEST_F(PanelTest, AnAutoScrollingPanelMovesItsContentWithItsBar)
{
    skinc::Node templ = skin_builder::variant(u"Long", 100, 300);
    skinc::Node item = control_node(u"item", 0, 150, 80, 20);
    add_picture(item, u"Normal", solid(RED));
    templ.controls = { item };
    skinc::Node panel = control_node(u"panel", 0, 0, 120, 100);
    add_string(panel, u"FormTemplate", u"Long");
    add_string(panel, u"KindScroll", u"Bar");
    add_integer(panel, u"ScrollWidth", 20);
    skinc::Node bar = skin_builder::node(u"Bar");
    add_integer(bar, u"Vertical", 1);
    add_picture(bar, u"Background", solid(GREY));
    auto skin = load_skin({ form_node(u"Form", { panel }, 300, 200), templ }, { bar });
    StepForm form(*skin, u"Form");
    skinner::ControlPanelAutoScroll scrolling(form, u"panel");
    ControlButton button(scrolling.panel_container(), u"item");
    ASSERT_NE(scrolling.vertical_bar(), nullptr);
    EXPECT_EQ(scrolling.horizontal_bar(), nullptr);
    EXPECT_EQ(scrolling.view_rect(), (platform::Rect { 0, 0, 100, 100 }));
    EXPECT_EQ(scrolling.vertical_bar()->rect(), (platform::Rect { 100, 0, 120, 100 }));
    EXPECT_EQ(scrolling.vertical_bar()->maximum(), 300);
    EXPECT_EQ(scrolling.vertical_bar()->page(), 100);
    EXPECT_EQ(button.rect().top, 150);
    scrolling.scroll_to(0, 120);
    EXPECT_EQ(button.rect().top, 30);
    scrolling.scroll_to(0, 1000);
    EXPECT_EQ(scrolling.scroll_position().y, 200);
    form.run({ [&] {
                  EXPECT_EQ(pixel(form, 110, 50), GREY);
                  scrolling.scroll_to(0, 120);
              },
        [&] {
            EXPECT_EQ(pixel(form, 40, 35), RED);
            EXPECT_NE(pixel(form, 40, 55), RED);
        } });
}

TEST_F(PanelTest, BothBarsShareTheCornerAndTheHorizontalOneMovesContentSideways)
{
    skinc::Node templ = skin_builder::variant(u"Wide", 400, 300);
    skinc::Node item = control_node(u"item", 250, 150, 80, 20);
    add_picture(item, u"Normal", solid(RED));
    templ.controls = { item };
    skinc::Node panel = control_node(u"panel", 0, 0, 120, 100);
    add_string(panel, u"FormTemplate", u"Wide");
    add_string(panel, u"KindScroll", u"Bar");
    add_string(panel, u"KindHScroll", u"HBar");
    add_integer(panel, u"ScrollWidth", 20);
    add_integer(panel, u"ScrollHeight", 10);
    skinc::Node bar = skin_builder::node(u"Bar");
    add_integer(bar, u"Vertical", 1);
    skinc::Node hbar = skin_builder::node(u"HBar");
    auto skin = load_skin({ form_node(u"Form", { panel }, 300, 200), templ }, { bar, hbar });
    StepForm form(*skin, u"Form");
    skinner::ControlPanelAutoScroll scrolling(form, u"panel");
    ControlButton button(scrolling.panel_container(), u"item");
    ASSERT_NE(scrolling.horizontal_bar(), nullptr);
    ASSERT_NE(scrolling.vertical_bar(), nullptr);
    // The vertical bar stops above the horizontal one, which stops left of it.
    EXPECT_EQ(scrolling.vertical_bar()->rect(), (platform::Rect { 100, 0, 120, 90 }));
    EXPECT_EQ(scrolling.horizontal_bar()->rect(), (platform::Rect { 0, 90, 100, 100 }));
    EXPECT_EQ(scrolling.view_rect(), (platform::Rect { 0, 0, 100, 90 }));
    EXPECT_FALSE(scrolling.horizontal_bar()->is_vertical());
    EXPECT_EQ(scrolling.horizontal_bar()->maximum(), 400);
    EXPECT_EQ(scrolling.horizontal_bar()->page(), 100);
    EXPECT_EQ(button.rect().left, 250);
    scrolling.scroll_to(200, 100);
    EXPECT_EQ(button.rect().left, 50);
    EXPECT_EQ(button.rect().top, 50);
    scrolling.scroll_to(1000, 0);
    EXPECT_EQ(scrolling.scroll_position().x, 300);
    EXPECT_EQ(button.rect().left, -50);
}
