#include "skinner/Container.h"
#include "skinner/Control.h"
#include "skinner/KeyCodes.h"
#include "skinner/Skin.h"

#include "SkinBuilder.h"

#include <memory>

using namespace skin_builder;
using skinner::Container;
using skinner::Control;
using skinner::Skin;

namespace {

// A control that records what happens to it and uses the keys it is told to.
class Probe : public Control {
public:
    Probe(
        Container& container, const std::u16string& id, std::vector<std::string>* events = nullptr)
        : Control(container, id)
        , events_(events)
    {
    }

    void gain_focus() override { record("gain " + name()); }
    void lose_focus() override { record("lose " + name()); }
    bool key_down(int key) override
    {
        record("key " + name());
        return key == used_key;
    }
    platform::Size preferred_size() const override
    {
        return preferred.width ? preferred : design_size();
    }

    int used_key { -1 };
    platform::Size preferred;

private:
    std::string name() const { return std::string(id().begin(), id().end()); }
    void record(const std::string& event)
    {
        if (events_)
            events_->push_back(event);
    }
    std::vector<std::string>* events_;
};

skinc::Node control(const std::u16string& id, std::int16_t x, std::int16_t y, std::int16_t w,
    std::int16_t h, int tab_order = 0, int z_order = 0)
{
    skinc::Node result = node(id);
    result.properties.points = { { u"Position", x, y }, { u"Size", w, h } };
    result.properties.integers = { { u"TabOrder", tab_order }, { u"ZOrder", z_order } };
    return result;
}

skinc::Node anchored(skinc::Node node, const std::u16string& x, const std::u16string& y)
{
    node.properties.strings = { { u"AnchorX", x }, { u"AnchorY", y } };
    return node;
}

// A skin with one form of 240 x 320 and the given controls, at scale 1.
class ContainerTest : public ::testing::Test {
protected:
    void load(std::vector<skinc::Node> controls)
    {
        auto form = variant(u"FormTest", 240, 260);
        form.controls = std::move(controls);
        skin_ = std::make_unique<Skin>(write(directory_, "test.skin", skin({ form })),
            skinner::Point { 240, 320 }, skinner::SkinDevice {});
        ASSERT_TRUE(skin_->is_valid());
        container_ = std::make_unique<Container>(skin_.get(), u"FormTest", nullptr, nullptr);
        container_->set_design_size({ 240, 320 });
        container_->set_rect({ 0, 0 }, { 240, 320 });
    }

    TempDirectory directory_;
    std::unique_ptr<Skin> skin_;
    std::unique_ptr<Container> container_;
};

std::vector<std::u16string> ids(const Container& container)
{
    std::vector<std::u16string> result;
    for (const Control* control : container.controls())
        result.push_back(control->id());
    return result;
}

} // namespace

TEST_F(ContainerTest, ControlsStandInZOrderAndEqualOrdersKeepCreationOrder)
{
    load({ control(u"a", 0, 0, 10, 10, 0, 5), control(u"b", 0, 0, 10, 10, 0, -1),
        control(u"c", 0, 0, 10, 10, 0, 5), control(u"d", 0, 0, 10, 10, 0, 0) });
    Probe a(*container_, u"a"), b(*container_, u"b"), c(*container_, u"c"), d(*container_, u"d");
    EXPECT_EQ(ids(*container_), (std::vector<std::u16string> { u"b", u"d", u"a", u"c" }));
    // The topmost control under a point is the last in that order.
    EXPECT_EQ(container_->control_at({ 5, 5 }), &c);
    c.set_visible(false);
    EXPECT_EQ(container_->control_at({ 5, 5 }), &a);
    a.set_z_order(-5);
    EXPECT_EQ(ids(*container_), (std::vector<std::u16string> { u"a", u"b", u"d", u"c" }));
}

TEST_F(ContainerTest, ASecondControlOfTheSameIdIsFatal)
{
    load({ control(u"btnOk", 0, 0, 10, 10) });
    Probe first(*container_, u"btnOk");
    EXPECT_EXIT(Probe second(*container_, u"btnOk"), ::testing::ExitedWithCode(70),
        "Container::register_control: control with id \\{btnOk\\} already exists in container");
}

TEST_F(ContainerTest, ControlsFollowTheirAnchorsAndGiveTheMinimumSize)
{
    load({ anchored(control(u"stretch", 10, 20, 100, 30), u"BOTH_SIDE", u"MAX_SIDE"),
        anchored(control(u"fixed", 10, 200, 50, 50), u"RATIO", u"CENTER"),
        anchored(control(u"unknown", 5, 6, 7, 8), u"center", u"") });
    Probe stretch(*container_, u"stretch"), fixed(*container_, u"fixed"),
        unknown(*container_, u"unknown");
    container_->set_rect({ 4, 8 }, { 480, 420 });
    EXPECT_EQ(stretch.rect(), (platform::Rect { 14, 128, 14 + 340, 128 + 30 }));
    // RATIO: 480 * 10 / 240 = 20, length 480 * 60 / 240 - 20 = 100; CENTER:
    // 420 * (200 + 25) / 320 - 25 = 270.
    EXPECT_EQ(fixed.rect(), (platform::Rect { 24, 8 + 270, 24 + 100, 8 + 270 + 50 }));
    // An unknown keyword anchors at the minimum side.
    EXPECT_EQ(unknown.rect(), (platform::Rect { 9, 14, 16, 22 }));

    EXPECT_EQ(container_->minimum_size(), (platform::Size { 240, 320 }));
    stretch.preferred = { 160, 30 };
    EXPECT_EQ(container_->minimum_size(), (platform::Size { 300, 320 }));
}

TEST_F(ContainerTest, FocusWalksTheTabOrderWrapsAndSkipsWhatCannotTakeIt)
{
    load({ control(u"third", 0, 0, 1, 1, 3), control(u"first", 0, 0, 1, 1, 1),
        control(u"second", 0, 0, 1, 1, 2), control(u"fourth", 0, 0, 1, 1, 4) });
    std::vector<std::string> events;
    Probe third(*container_, u"third", &events), first(*container_, u"first", &events),
        second(*container_, u"second", &events), fourth(*container_, u"fourth", &events);

    // Inactive: the focus moves silently.
    container_->move_focus(true);
    EXPECT_EQ(container_->focused(), &first);
    EXPECT_TRUE(events.empty());
    container_->set_active(true);
    container_->move_focus(false);
    EXPECT_EQ(container_->focused(), &fourth);
    EXPECT_EQ(events, (std::vector<std::string> { "lose first", "gain fourth" }));

    // Forward from the last wraps to the first; disabled, hidden and
    // unfocusable controls are passed over.
    container_->move_focus(true);
    EXPECT_EQ(container_->focused(), &first);
    second.set_enabled(false);
    third.set_focusable(false);
    container_->move_focus(true);
    EXPECT_EQ(container_->focused(), &fourth);
    fourth.set_visible(false);
    EXPECT_EQ(container_->focused(), &first);
    first.set_focusable(false);
    EXPECT_EQ(container_->focused(), nullptr);
}

TEST_F(ContainerTest, ActivationFocusesTheFirstCandidate)
{
    load({ control(u"b", 0, 0, 1, 1, 2), control(u"a", 0, 0, 1, 1, 1) });
    std::vector<std::string> events;
    Probe b(*container_, u"b", &events), a(*container_, u"a", &events);
    container_->set_active(true);
    EXPECT_EQ(container_->focused(), &a);
    EXPECT_EQ(events, (std::vector<std::string> { "gain a" }));
}

TEST_F(ContainerTest, KeysGoToTheFocusedControlFirstThenMoveTheFocus)
{
    load({ control(u"a", 0, 0, 1, 1, 1), control(u"b", 0, 0, 1, 1, 2) });
    std::vector<std::string> events;
    Probe a(*container_, u"a", &events), b(*container_, u"b", &events);
    container_->set_active(true);
    events.clear();

    a.used_key = skinner::KEY_DOWN;
    EXPECT_TRUE(container_->key_down(skinner::KEY_DOWN));
    EXPECT_EQ(container_->focused(), &a);
    EXPECT_TRUE(container_->key_down(skinner::KEY_TAB));
    EXPECT_EQ(container_->focused(), &b);
    EXPECT_TRUE(container_->key_down(skinner::KEY_UP));
    EXPECT_EQ(container_->focused(), &a);
    EXPECT_FALSE(container_->key_down(skinner::KEY_LEFT));
    EXPECT_EQ(events,
        (std::vector<std::string> {
            "key a", "key a", "lose a", "gain b", "key b", "lose b", "gain a", "key a" }));
}
