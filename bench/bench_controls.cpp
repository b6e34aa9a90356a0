// Painting of the standard controls on the headless screen: a wrapped frame
// of ten lines, a button in each of its states, and one keystroke in an
// edit until the frame shows it.
#include "platform/Convert.h"
#include "platform/MessageQueue.h"
#include "platform/Screen.h"
#include "platform/Window.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/PngWriter.h"
#include "skinner/ControlButton.h"
#include "skinner/ControlEdit.h"
#include "skinner/ControlFrame.h"
#include "skinner/Form.h"
#include "skinner/PictureCache.h"
#include "skinner/Skin.h"
#include "tools/skinc/SkinCompiler.h"

#include "bench/HeadlessScreen.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace {

skinc::Node control(const std::u16string& id, std::int16_t x, std::int16_t y, std::int16_t w,
    std::int16_t h, std::uint8_t picture)
{
    skinc::Node node { id, {}, {}, {} };
    node.properties.points = { { u"Position", x, y }, { u"Size", w, h } };
    node.properties.pictures = { { u"Normal", { 0, 0, 8, 8, 32, 32, 40, 40 }, picture, 1 } };
    return node;
}

struct Scene {
    Scene()
    {
        folder = bench_support::headless_folder();
        platform::Bitmap picture(40, 40);
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x)
                picture.set_pixel(x, y, platform::make_color(40 + x * 4, 90 + y * 3, 200));
        platform::write_png(picture, folder + "/look.png");
        platform::write_png(
            platform::Bitmap(8, 8, platform::make_color(250, 250, 250)), folder + "/plain.png");

        skinc::SkinSource source;
        source.version = u"Ringwise_1.0";
        source.design_sizes[0] = { 480, 640 };
        source.pictures = { u"look", u"plain" };
        skinc::Node form { u"FormBench", {}, {}, {} };
        form.properties.points.push_back({ u"Size", 480, 500 });
        skinc::Node text = control(u"frame", 10, 10, 300, 300, 1);
        text.properties.integers = { { u"Wrap", 1 } };
        text.properties.strings = { { u"HAlignment", u"LEFT" }, { u"VAlignment", u"TOP" } };
        skinc::Node button_node = control(u"button", 320, 10, 150, 50, 0);
        button_node.properties.strings = { { u"Text", u"Call" } };
        skinc::Node edit_node = control(u"edit", 10, 320, 400, 40, 1);
        edit_node.properties.points.push_back({ u"BorderMin", 4, 4 });
        form.controls = { text, button_node, edit_node };
        source.forms = { form };
        bench_support::write_skin(source, folder, "bench.skin");

        skinner::PictureCache::install();
        skin = std::make_unique<skinner::Skin>(
            platform::from_utf8(folder + "/bench.skin"), skinner::Point { 480, 640 });
        form_ = std::make_unique<skinner::Form>(nullptr, *skin, u"FormBench", nullptr);
        frame = std::make_unique<skinner::ControlFrame>(*form_, u"frame");
        std::u16string lines;
        for (int i = 0; i < 10; ++i)
            lines += u"Line " + platform::from_utf8(std::to_string(i)) + u" of the wrapped frame\n";
        lines.pop_back();
        frame->set_text(lines);
        button = std::make_unique<skinner::ControlButton>(*form_, u"button");
        edit = std::make_unique<skinner::ControlEdit>(*form_, u"edit");
        platform::show_window(form_->window(), true);
        platform::set_foreground_window(form_->window());
        form_->set_active(true);
        form_->set_focus(edit.get());
        bench_support::drain();
    }
    ~Scene()
    {
        edit.reset();
        button.reset();
        frame.reset();
        form_.reset();
        skin.reset();
        std::filesystem::remove_all(folder);
    }

    std::string folder;
    std::unique_ptr<skinner::Skin> skin;
    std::unique_ptr<skinner::Form> form_;
    std::unique_ptr<skinner::ControlFrame> frame;
    std::unique_ptr<skinner::ControlButton> button;
    std::unique_ptr<skinner::ControlEdit> edit;
};

Scene& scene()
{
    static Scene instance;
    return instance;
}

void BM_PaintWrappedFrameOfTenLines(benchmark::State& state)
{
    Scene& s = scene();
    for (auto _ : state) {
        s.frame->repaint();
        bench_support::drain();
    }
}
BENCHMARK(BM_PaintWrappedFrameOfTenLines)->Unit(benchmark::kMicrosecond);

// 0 normal, 1 focused, 2 pressed, 3 disabled.
void BM_PaintButton(benchmark::State& state)
{
    Scene& s = scene();
    int which = static_cast<int>(state.range(0));
    if (which == 1)
        s.form_->set_focus(s.button.get());
    if (which == 2)
        s.button->pointer_down(skinner::PointerButton::Left, { 330, 20 }, false);
    if (which == 3)
        s.button->set_enabled(false);
    for (auto _ : state) {
        s.button->repaint();
        bench_support::drain();
    }
    if (which == 2)
        s.button->pointer_up(skinner::PointerButton::Left, { 0, 0 });
    s.button->set_enabled(true);
    s.form_->set_focus(s.edit.get());
    bench_support::drain();
}
BENCHMARK(BM_PaintButton)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

void BM_KeystrokeInEditToPaintedFrame(benchmark::State& state)
{
    Scene& s = scene();
    platform::WindowHandle field = s.edit->field().window();
    int typed = 0;
    for (auto _ : state) {
        if (++typed % 40 == 0)
            platform::set_edit_text(field, {});
        platform::post_message(field, platform::WM_CHAR, u'a', 0);
        bench_support::drain();
    }
}
BENCHMARK(BM_KeystrokeInEditToPaintedFrame)->Unit(benchmark::kMicrosecond);

} // namespace
