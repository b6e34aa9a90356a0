#pragma once

#include "platform/Convert.h"
#include "platform/MessageQueue.h"
#include "platform/Screen.h"
#include "platform/Window.h"
#include "platform/screen/ScreenInput.h"
#include "skinner/Control.h"
#include "skinner/Form.h"

#include "tests/skinner/PictureFixture.h"

#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// Forms with standard controls on the headless screen, built from skins
// that the skin compiler's library writes, with solid-colour pictures.
namespace control_test {

constexpr platform::Color RED = platform::make_color(255, 0, 0);
constexpr platform::Color GREEN = platform::make_color(0, 255, 0);
constexpr platform::Color BLUE = platform::make_color(0, 0, 255);
constexpr platform::Color WHITE = platform::make_color(255, 255, 255);
constexpr platform::Color BLACK = platform::make_color(0, 0, 0);
constexpr platform::Color YELLOW = platform::make_color(255, 255, 0);
constexpr platform::Color GREY = platform::make_color(128, 128, 128);

// A form that runs steps inside its own modal loop, each once the previous
// one returned and the screen was painted, and closes after the last.
class StepForm : public skinner::Form {
public:
    StepForm(skinner::Skin& skin, const std::u16string& kind, skinner::Listener* listener = nullptr)
        : Form(nullptr, skin, kind, listener)
    {
    }

    void on_timer(unsigned timer_id) override
    {
        Form::on_timer(timer_id);
        if (timer_id != step_timer_ || steps_.empty())
            return;
        kill_timer(step_timer_);
        auto step = std::move(steps_.front());
        steps_.erase(steps_.begin());
        step();
        if (steps_.empty())
            close();
        else
            step_timer_ = start_timer(delay_);
    }
    void on_command(const std::u16string& text) override
    {
        if (text == u"#close#")
            close();
        else
            Form::on_command(text);
    }

    // Runs the steps in the modal loop, `delay` seconds apart at least.
    void run(std::vector<std::function<void()>> steps, double delay = 0.001)
    {
        steps_ = std::move(steps);
        delay_ = delay;
        step_timer_ = start_timer(delay_);
        do_modal();
    }

private:
    std::vector<std::function<void()>> steps_;
    unsigned step_timer_ { 0 };
    double delay_ { 0.001 };
};

// Writes down the events that reach the application.
class Recorder : public skinner::Listener {
public:
    void on_control(skinner::Control& sender) override { add("control " + name(sender)); }
    void on_command(const std::u16string& text) override
    {
        add("command " + platform::to_utf8(text));
    }
    void on_scroll_position(skinner::Control&, int position) override
    {
        add("scroll " + std::to_string(position));
    }
    void on_value_changed(skinner::Control& sender, double value) override
    {
        add("value " + name(sender) + " " + number(value));
    }
    void on_value_requested(skinner::Control& sender, double value) override
    {
        add("requested " + name(sender) + " " + number(value));
    }
    void on_drag_finished(skinner::Control& sender) override { add("dragged " + name(sender)); }
    void on_text_changed(skinner::Control& sender, const std::u16string& text) override
    {
        add("text " + name(sender) + " " + platform::to_utf8(text));
    }
    std::vector<std::string> events;

private:
    static std::string name(skinner::Control& control) { return platform::to_utf8(control.id()); }
    static std::string number(double value)
    {
        char text[32];
        std::snprintf(text, sizeof text, "%.3g", value);
        return text;
    }
    void add(std::string event) { events.push_back(std::move(event)); }
};

inline skinc::Node control_node(
    const std::u16string& id, std::int16_t x, std::int16_t y, std::int16_t w, std::int16_t h)
{
    skinc::Node result = skin_builder::node(id);
    result.properties.points = { { u"Position", x, y }, { u"Size", w, h } };
    return result;
}

inline void add_integer(skinc::Node& node, const std::u16string& name, int value)
{
    node.properties.integers.push_back({ name, value });
}
inline void add_string(skinc::Node& node, const std::u16string& name, const std::u16string& value)
{
    node.properties.strings.push_back({ name, value });
}
inline void add_point(skinc::Node& node, const std::u16string& name, int x, int y)
{
    node.properties.points.push_back(
        { name, static_cast<std::int16_t>(x), static_cast<std::int16_t>(y) });
}
inline void add_color(skinc::Node& node, const std::u16string& name, platform::Color color)
{
    node.properties.colors.push_back({ name,
        { static_cast<std::uint8_t>(platform::red_of(color)),
            static_cast<std::uint8_t>(platform::green_of(color)),
            static_cast<std::uint8_t>(platform::blue_of(color)), 0 } });
}

class ControlFixture : public PictureFixture {
protected:
    void SetUp() override
    {
        ::setenv("RINGWISE_HEADLESS", "1", 1);
        ::setenv("RINGWISE_SCREEN", "480x640", 1);
        PictureFixture::SetUp();
    }

    // A solid picture of `size` pixels: its index in the skin's list.
    std::uint8_t solid(platform::Color color, int width = 4, int height = 4)
    {
        std::string name = "solid" + std::to_string(pictures_.size());
        write_png(name + ".png", platform::Bitmap(width, height, color));
        pictures_.push_back(platform::from_utf8(name));
        sizes_.push_back({ width, height });
        return static_cast<std::uint8_t>(pictures_.size() - 1);
    }
    // A picture whose left half is opaque and whose right half the 1-bit
    // mask leaves out.
    std::uint8_t half_masked(platform::Color color)
    {
        std::string name = "masked" + std::to_string(pictures_.size());
        write_png(name + ".png", platform::Bitmap(8, 8, color));
        platform::Bitmap mask(8, 8, BLACK);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 4; ++x)
                mask.set_pixel(x, y, WHITE);
        write_png(name + "_1.png", mask);
        pictures_.push_back(platform::from_utf8(name));
        sizes_.push_back({ 8, 8 });
        return static_cast<std::uint8_t>(pictures_.size() - 1);
    }
    // The whole picture `index`, stretched, as the property `name`.
    void add_picture(skinc::Node& node, const std::u16string& name, std::uint8_t index)
    {
        auto w = static_cast<std::uint16_t>(sizes_[index].width);
        auto h = static_cast<std::uint16_t>(sizes_[index].height);
        node.properties.pictures.push_back(
            picture_property(name, { 0, 0, 0, 0, w, h, w, h }, index));
    }
    std::uint32_t font(const std::u16string& specification)
    {
        fonts_.push_back(specification);
        return static_cast<std::uint32_t>(fonts_.size() - 1);
    }

    // A skin whose forms (and top-level nodes) have design size 480 x 640,
    // loaded at scale 1 on the 480 x 640 screen.
    std::unique_ptr<skinner::Skin> load_skin(
        std::vector<skinc::Node> forms, std::vector<skinc::Node> nodes = {})
    {
        skinc::SkinSource source = skin_builder::skin(std::move(forms));
        source.design_sizes[0] = { 480, 640 };
        source.design_sizes[1] = {};
        source.pictures = pictures_;
        source.fonts = fonts_;
        source.nodes = std::move(nodes);
        platform::Size screen = platform::screen_size();
        auto loaded
            = std::make_unique<skinner::Skin>(skin_builder::write(temp, "controls.skin", source),
                skinner::Point { screen.width, screen.height });
        EXPECT_TRUE(loaded->is_valid());
        return loaded;
    }

    static skinc::Node form_node(const std::u16string& kind, std::vector<skinc::Node> controls,
        std::int16_t width = 240, std::int16_t height = 200)
    {
        skinc::Node form = skin_builder::variant(kind, width, height);
        form.controls = std::move(controls);
        return form;
    }

    static platform::Rect window_rect(const skinner::Form& form)
    {
        return platform::window_rect(form.window()).value_or(platform::Rect {});
    }
    // A pixel of the screen at a point of the form's client area.
    static platform::Color pixel(const skinner::Form& form, int x, int y)
    {
        platform::Rect at = window_rect(form);
        return platform::capture_screen().pixel(at.left + x, at.top + y);
    }
    // Whether any pixel of the client rectangle differs from `background`.
    static bool drawn_in(const skinner::Form& form, platform::Rect area, platform::Color background)
    {
        platform::Rect at = window_rect(form);
        platform::Bitmap screen = platform::capture_screen();
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                if (screen.pixel(at.left + x, at.top + y) != background)
                    return true;
        return false;
    }
    static platform::Point screen_point(const skinner::Form& form, int x, int y)
    {
        platform::Rect at = window_rect(form);
        return { at.left + x, at.top + y };
    }
    static void tap(const skinner::Form& form, int x, int y, bool release = true)
    {
        platform::Point point = screen_point(form, x, y);
        platform::inject_pointer(
            platform::PointerAction::Move, platform::PointerButton::None, point);
        platform::inject_pointer(
            platform::PointerAction::Down, platform::PointerButton::Left, point);
        if (release)
            platform::inject_pointer(
                platform::PointerAction::Up, platform::PointerButton::Left, point);
    }
    static void release_at(const skinner::Form& form, int x, int y)
    {
        platform::Point point = screen_point(form, x, y);
        platform::inject_pointer(
            platform::PointerAction::Move, platform::PointerButton::Left, point);
        platform::inject_pointer(platform::PointerAction::Up, platform::PointerButton::Left, point);
    }
    static void key(int virtual_key)
    {
        platform::inject_key(virtual_key, true);
        platform::inject_key(virtual_key, false);
    }

    // Writes a script of the player and returns its path.
    std::string script(const std::string& name, const std::string& text)
    {
        std::ofstream(temp.native(name)) << text;
        return temp.native(name);
    }
    std::string file_text(const std::string& name)
    {
        std::ifstream file(temp.native(name));
        return std::string(std::istreambuf_iterator<char>(file), {});
    }

    std::vector<std::u16string> pictures_;
    std::vector<platform::Size> sizes_;
    std::vector<std::u16string> fonts_;
};

} // namespace control_test
