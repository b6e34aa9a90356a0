#include "platform/MessageQueue.h"
#include "platform/Screen.h"
#include "platform/Window.h"
#include "platform/screen/ScreenInput.h"
#include "skinner/ControlGridFilter.h"
#include "skinner/ControlScrollBar.h"
#include "skinner/Form.h"
#include "skinner/GridColumns.h"
#include "skinner/GridSelectionStrategySingleRow.h"
#include "skinner/KeyCodes.h"

#include "tests/skinner/PictureFixture.h"

using namespace skin_builder;
using skinner::ControlGrid;
using skinner::ControlGridFilter;
using skinner::Form;

namespace {

// A grid of `rows` rows and two columns, "name N" and "N".
class Table : public ControlGridFilter {
public:
    Table(skinner::Container& container, const std::u16string& id, int rows)
        : ControlGridFilter(container, id)
        , rows_(rows)
    {
        refresh();
    }
    int row_count() const override { return rows_; }
    int column_count() const override { return columns_; }
    int column_width(int column) const override { return column == 0 ? -1 : 40; }
    std::u16string cell_text(int column, int row) const override
    {
        ++asked;
        if (!long_text.empty() && column == 0)
            return long_text;
        std::u16string number = platform::from_utf8(std::to_string(row));
        return column == 0 ? u"name " + number : number;
    }
    void set_rows(int rows) { rows_ = rows; }
    void set_columns(int columns) { columns_ = columns; }

    mutable int asked { 0 };
    std::u16string long_text;

private:
    int rows_;
    int columns_ { 2 };
};

class Owner final : public skinner::GridSelectionStrategy::Owner {
public:
    int row_count() const override { return rows; }
    void selection_changed(int row) override { changes.push_back(row); }
    void make_row_visible(int row) override { shown.push_back(row); }
    void highlight_changed() override { ++highlights; }
    int rows { 10 };
    std::vector<int> changes;
    std::vector<int> shown;
    int highlights { 0 };
};

class Recorder final : public skinner::Listener {
public:
    void on_item_activated(skinner::Control&, int row) override
    {
        events.push_back("activated " + std::to_string(row));
    }
    void on_selection_changed(skinner::Control&, int row) override
    {
        events.push_back("selected " + std::to_string(row));
    }
    std::vector<std::string> events;
};

class GridTest : public PictureFixture {
protected:
    void SetUp() override
    {
        ::setenv("RINGWISE_HEADLESS", "1", 1);
        ::setenv("RINGWISE_SCREEN", "480x640", 1);
        PictureFixture::SetUp();
    }

    // A form with a button-like control "before" and the grid "grid" of
    // 200 x 200 at (10, 50), rows of 20 pixels; item colours: text black,
    // filtered text blue, selected text red.
    std::unique_ptr<skinner::Skin> load_grid(bool with_bar = false)
    {
        skinc::Node form = variant(u"FormGrid", 300, 300);
        skinc::Node before = node(u"before");
        before.properties.points = { { u"Position", 10, 10 }, { u"Size", 50, 30 } };
        before.properties.integers = { { u"TabOrder", 1 } };
        skinc::Node grid = node(u"grid");
        grid.properties.points = { { u"Position", 10, 50 }, { u"Size", 200, 200 } };
        grid.properties.integers = { { u"ItemHeight", 20 }, { u"TabOrder", 2 } };
        grid.properties.colors = { { u"ItemNormal", { 0, 0, 0, 0 } },
            { u"ItemSelection", { 255, 0, 0, 0 } }, { u"ItemFiltered", { 0, 0, 255, 0 } } };
        grid.properties.fonts = { { u"ItemNormal", 0 } };
        form.controls = { before, grid };
        std::vector<skinc::Node> nodes;
        if (with_bar) {
            grid.properties.strings = { { u"KindScroll", u"GridBar" } };
            grid.properties.integers.push_back({ u"ScrollWidth", 16 });
            grid.properties.points.push_back({ u"BorderMax", 2, 0 });
            form.controls = { before, grid };
            skinc::Node bar = node(u"GridBar");
            bar.properties.integers = { { u"Vertical", 1 } };
            nodes.push_back(bar);
        }
        skinc::SkinSource source = skin({ form });
        source.nodes = nodes;
        source.design_sizes[0] = { 480, 640 };
        source.design_sizes[1] = {};
        source.fonts = { u"12 1 0 0 DejaVu Sans" };
        auto loaded = std::make_unique<skinner::Skin>(
            write(temp, "grid.skin", source), skinner::Point { 480, 640 });
        EXPECT_TRUE(loaded->is_valid());
        return loaded;
    }

    // Handles everything waiting, paints included.
    static void drain()
    {
        platform::Message message;
        while (platform::peek_message(message))
            platform::dispatch_message(message);
    }

    static void post(const Form& form, std::uint32_t message, platform::Point point)
    {
        platform::post_message(form.window(), message,
            message == platform::WM_LBUTTONDOWN ? platform::MK_LBUTTON : 0,
            platform::make_lparam(point.x, point.y));
    }
};

// A plain control to take the focus before the grid.
class Plain final : public skinner::Control {
public:
    using Control::Control;
};

} // namespace

TEST(GridColumns, FixedWidthsThenSharesWithTheLastTakingTheRest)
{
    EXPECT_EQ(skinner::column_boundaries({ 50, -1, -2, 30, -1 }, 200),
        (std::vector<int> { 0, 50, 80, 140, 170, 200 }));
    // 101 shared by thirds: 33, 33 and the remaining 35.
    EXPECT_EQ(
        skinner::column_boundaries({ -1, -1, -1 }, 101), (std::vector<int> { 0, 33, 66, 101 }));
    // No room left for shares: they get nothing, never less.
    EXPECT_EQ(
        skinner::column_boundaries({ 80, -1, 20 }, 50), (std::vector<int> { 0, 80, 80, 100 }));
    EXPECT_EQ(skinner::column_boundaries({}, 100), (std::vector<int> { 0 }));
}

TEST(GridSelection, TheSelectionFollowsInsertedAndRemovedRows)
{
    Owner owner;
    skinner::GridSelectionStrategySingleRow single(owner);
    single.set_selection(1);
    single.rows_removed(0, 1);
    EXPECT_EQ(single.selection(), 0);
    single.set_selection(3);
    single.rows_removed(2, 3);
    EXPECT_EQ(single.selection(), -1);
    single.set_selection(5);
    single.rows_removed(6, 2);
    EXPECT_EQ(single.selection(), 5);
    single.rows_inserted(5, 2);
    EXPECT_EQ(single.selection(), 5);
    single.rows_inserted(4, 2);
    EXPECT_EQ(single.selection(), 7);
    EXPECT_EQ(owner.changes, (std::vector<int> { 1, 3, 5 }));
    EXPECT_EQ(owner.shown, (std::vector<int> { 1, 3, 5 }));
}

TEST(GridSelection, KeysMoveWithinTheRowsAndLeaveTheEndsToTheContainer)
{
    Owner owner;
    skinner::GridSelectionStrategyWithHighlight strategy(owner);
    EXPECT_TRUE(strategy.key_down(skinner::KEY_DOWN));
    EXPECT_EQ(strategy.selection(), 0);
    EXPECT_FALSE(strategy.key_down(skinner::KEY_UP));
    EXPECT_FALSE(strategy.key_down(skinner::KEY_PAGE_UP));
    EXPECT_TRUE(strategy.key_down(skinner::KEY_END));
    EXPECT_EQ(strategy.selection(), 9);
    EXPECT_FALSE(strategy.key_down(skinner::KEY_DOWN));
    strategy.set_highlight(1, 9);
    EXPECT_TRUE(strategy.is_cell_highlighted(1, 9));
    EXPECT_FALSE(strategy.is_cell_highlighted(0, 9));
    EXPECT_TRUE(strategy.key_down(skinner::KEY_PAGE_UP));
    EXPECT_EQ(strategy.selection(), 8);
    // A used key clears the highlight.
    EXPECT_FALSE(strategy.is_cell_highlighted(1, 9));
    EXPECT_TRUE(strategy.key_down(skinner::KEY_HOME));
    EXPECT_EQ(strategy.selection(), 0);
    EXPECT_FALSE(strategy.key_down(skinner::KEY_LEFT));
    owner.rows = 0;
    EXPECT_FALSE(strategy.key_down(skinner::KEY_HOME));
}

TEST(GridEllipsis, TheLongestPrefixThatLeavesTwoEllipsesFree)
{
    // Every code unit is 10 pixels wide.
    auto measure = [](const std::u16string& text) { return static_cast<int>(text.size()) * 10; };
    EXPECT_EQ(skinner::shorten_with_ellipsis(u"short", 50, measure), u"short");
    // 100 pixels: 80 for the prefix and its ellipsis, so 7 units and U+2026.
    EXPECT_EQ(skinner::shorten_with_ellipsis(u"a long long text", 100, measure), u"a long \u2026");
    EXPECT_EQ(skinner::shorten_with_ellipsis(u"abc", 25, measure), u"\u2026");
}

TEST_F(GridTest, UpOnTheFirstRowMovesTheFocusAndTapsSelectThenActivate)
{
    auto skin = load_grid();
    Recorder listener;
    Form form(nullptr, *skin, u"FormGrid", &listener);
    Plain before(form, u"before");
    Table grid(form, u"grid", 30);
    platform::show_window(form.window(), true);
    platform::set_foreground_window(form.window());
    form.set_active(true);
    form.set_focus(&grid);

    EXPECT_TRUE(form.key_down(skinner::KEY_DOWN));
    EXPECT_EQ(grid.selection(), 0);
    EXPECT_TRUE(form.key_down(skinner::KEY_UP));
    EXPECT_EQ(form.focused(), &before);
    EXPECT_EQ(grid.selection(), 0);

    // Rows start below the grid's top at 50: row 2 lies at y 90 to 110.
    post(form, platform::WM_LBUTTONDOWN, { 30, 95 });
    post(form, platform::WM_LBUTTONUP, { 30, 95 });
    post(form, platform::WM_LBUTTONDOWN, { 30, 95 });
    post(form, platform::WM_LBUTTONUP, { 30, 95 });
    drain();
    EXPECT_EQ(grid.selection(), 2);
    EXPECT_EQ(
        listener.events, (std::vector<std::string> { "selected 0", "selected 2", "activated 2" }));
    EXPECT_EQ(grid.describe(), "rows=30 first=0 selected=2 selected_text=name 2\t2");

    // Dragging up by five rows scrolls and selects nothing.
    post(form, platform::WM_LBUTTONDOWN, { 30, 200 });
    platform::post_message(form.window(), platform::WM_MOUSEMOVE, platform::MK_LBUTTON,
        platform::make_lparam(30, 100));
    post(form, platform::WM_LBUTTONUP, { 30, 100 });
    drain();
    EXPECT_EQ(grid.first_visible_row(), 5);
    EXPECT_EQ(grid.selection(), 2);
    // End selects the last row and scrolls the least that shows it whole.
    form.set_focus(&grid);
    EXPECT_TRUE(form.key_down(skinner::KEY_END));
    EXPECT_EQ(grid.first_visible_row(), 30 - grid.page_rows());
}

TEST_F(GridTest, OnlyTheVisibleRowsOfALargeGridArePainted)
{
    auto skin = load_grid();
    Form form(nullptr, *skin, u"FormGrid", nullptr);
    Table grid(form, u"grid", 10000);
    platform::show_window(form.window(), true);
    drain();
    grid.asked = 0;
    grid.scroll_to(5000);
    drain();
    // Ten rows of two cells fit; a few more for a partial row at most.
    EXPECT_GT(grid.asked, 0);
    EXPECT_LE(grid.asked, 2 * (grid.page_rows() + 1));
}

TEST_F(GridTest, TheGridsScrollBarFollowsTheRowsBothWays)
{
    auto skin = load_grid(true);
    Form form(nullptr, *skin, u"FormGrid", nullptr);
    Table grid(form, u"grid", 25);
    skinner::ControlScrollBar* bar = grid.scroll_bar();
    ASSERT_NE(bar, nullptr);
    // Along the right edge, inside the border; the cells give it room.
    EXPECT_EQ(bar->rect(), (platform::Rect { 192, 50, 208, 250 }));
    EXPECT_EQ(grid.content_rect().right, 192);
    EXPECT_EQ(grid.column_boundaries().back(), 182);
    EXPECT_EQ(bar->maximum(), 25);
    EXPECT_EQ(bar->page(), 10);
    EXPECT_EQ(bar->position(), 0);
    grid.set_selection(17);
    EXPECT_EQ(grid.first_visible_row(), 8);
    EXPECT_EQ(bar->position(), 8);
    bar->set_position(3);
    EXPECT_EQ(grid.first_visible_row(), 3);
    bar->step(skinner::ControlScrollBar::Part::PageAfter);
    EXPECT_EQ(grid.first_visible_row(), 13);
    EXPECT_EQ(bar->position(), 13);
    // Fewer rows: the range shrinks and the first row comes back into it.
    grid.set_rows(12);
    grid.refresh();
    EXPECT_EQ(bar->maximum(), 12);
    EXPECT_EQ(grid.first_visible_row(), 2);
    EXPECT_EQ(bar->position(), 2);
}

TEST_F(GridTest, ChangingTheColumnsWithoutARefreshIsFatal)
{
    auto skin = load_grid();
    Form form(nullptr, *skin, u"FormGrid", nullptr);
    Table grid(form, u"grid", 3);
    platform::show_window(form.window(), true);
    drain();
    grid.set_columns(3);
    EXPECT_EXIT(
        {
            grid.repaint();
            drain();
        },
        ::testing::ExitedWithCode(70),
        "ControlGrid::Painter::paint: Number of items in grid grid had changed, but no refresh "
        "was called");
    grid.refresh();
    drain();
}

TEST_F(GridTest, FilteredPartsDrawInTheirOwnLookAndLongTextStaysInItsCell)
{
    auto skin = load_grid();
    Form form(nullptr, *skin, u"FormGrid", nullptr);
    Table grid(form, u"grid", 3);
    platform::show_window(form.window(), true);
    grid.set_filter_text(u"NAME");
    grid.long_text = u"name with a very long text that cannot fit in its column at all";
    drain();
    platform::Bitmap screen = platform::capture_screen();
    platform::Rect window = platform::window_rect(form.window()).value();
    // Column 0 is 160 wide (the share), column 1 the last 40 pixels.
    auto count = [&](int left, int right, auto predicate) {
        int found = 0;
        for (int y = 50; y < 70; ++y)
            for (int x = left; x < right; ++x)
                found += predicate(screen.pixel(window.left + x, window.top + y)) ? 1 : 0;
        return found;
    };
    auto blue = [](platform::Color c) {
        return platform::blue_of(c) > 150 && platform::red_of(c) < 100
            && platform::green_of(c) < 100;
    };
    auto dark
        = [](platform::Color c) { return platform::red_of(c) < 80 && platform::blue_of(c) < 80; };
    // "name" at the start is drawn in the filtered look, the rest in black.
    EXPECT_GT(count(10, 50, blue), 0);
    EXPECT_GT(count(60, 170, dark), 0);
    EXPECT_EQ(count(60, 170, blue), 0);
    // The shortened text keeps two ellipses' width free before the second
    // column: no ink just left of it.
    EXPECT_EQ(count(160, 170, dark), 0);
    EXPECT_EQ(count(160, 170, blue), 0);
}

namespace {

// Closes the form on the named command "close".
class Closer final : public skinner::Listener {
public:
    void on_command(const std::u16string& text) override
    {
        if (text == u"close" && form)
            form->close();
    }
    Form* form { nullptr };
};

} // namespace

TEST_F(GridTest, AScriptNavigatesTheRowsWithKeysAndDumpsTheSelection)
{
    auto skin = load_grid();
    Closer closer;
    Form form(nullptr, *skin, u"FormGrid", &closer);
    closer.form = &form;
    Plain before(form, u"before");
    Table grid(form, u"grid", 30);
    temp.write("keys.txt",
        "wait-form FormGrid\n"
        "tap 30 125\n"
        "key Down\nkey Down\nkey Down\nkey Up\n"
        "dump "
            + temp.native("first.txt")
            + "\n"
              "key End\n"
              "dump "
            + temp.native("last.txt")
            + "\n"
              "command close\n");
    ASSERT_TRUE(platform::play_script(temp.native("keys.txt")));
    form.do_modal();
    std::string first = temp.read("first.txt");
    std::string last = temp.read("last.txt");
    // The tap selected row 1 (the grid starts at 102 on the screen, rows are 20
    // high); three downs and an up make row 3.
    EXPECT_NE(first.find("control grid ControlGridFilter "), std::string::npos) << first;
    EXPECT_NE(first.find("rows=30 first=0 selected=3 selected_text=name 3\t3\n"), std::string::npos)
        << first;
    EXPECT_NE(
        last.find("rows=30 first=20 selected=29 selected_text=name 29\t29\n"), std::string::npos)
        << last;
}

TEST_F(GridTest, TheWheelScrollsTheGridUnderThePointerOrTheFocusedOne)
{
    auto skin = load_grid(true);
    Closer closer;
    Form form(nullptr, *skin, u"FormGrid", &closer);
    closer.form = &form;
    Plain before(form, u"before");
    Table grid(form, u"grid", 30);
    // On the screen the grid spans x 10 to 210 and y 102 to 302; its bar
    // lies at x 202 to 218.
    std::string script = "wait-form FormGrid\n"
                         "wheel 50 150 -2\n"
                         "dump "
        + temp.native("rows.txt")
        + "\n"
          "wheel 210 150 1\n"
          "dump "
        + temp.native("bar.txt")
        + "\n"
          "tap 30 125\n"
          "wheel 280 20 -1\n"
          "dump "
        + temp.native("focus.txt")
        + "\n"
          "wheel 50 150 5\n"
          "dump "
        + temp.native("top.txt")
        + "\n"
          "command close\n";
    temp.write("wheel.txt", script);
    // An earlier test's script ends at the first idle moment after its form.
    for (int i = 0; i < 1000 && platform::is_script_playing(); ++i) {
        platform::Message message;
        if (platform::get_message(message) == platform::GetResult::Message)
            platform::dispatch_message(message);
    }
    ASSERT_TRUE(platform::play_script(temp.native("wheel.txt")));
    form.do_modal();
    // Two notches towards the user: six rows on, the selection untouched.
    EXPECT_NE(temp.read("rows.txt").find("rows=30 first=6 selected=-1"), std::string::npos);
    // A notch away over the bar: three lines back.
    EXPECT_NE(temp.read("bar.txt").find("rows=30 first=3 selected=-1"), std::string::npos);
    // Over no control the focused grid scrolls.
    EXPECT_NE(temp.read("focus.txt").find("rows=30 first=6 selected=4"), std::string::npos)
        << temp.read("focus.txt");
    EXPECT_NE(temp.read("top.txt").find("rows=30 first=0 selected=4"), std::string::npos);
}
