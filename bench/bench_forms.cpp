// Painting and input of a skinned form on the headless screen: a full
// repaint of a 480 x 640 form with 30 controls that draw nine-part skin
// pictures, the repaint of one 200 x 20 dirty rectangle, and a pointer press
// until the frame shows it. The idle CPU of an open form is measured over
// two seconds of its modal loop.
#include "platform/Convert.h"
#include "platform/MessageQueue.h"
#include "platform/Screen.h"
#include "platform/Window.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/PngWriter.h"
#include "skinner/Control.h"
#include "skinner/Form.h"
#include "skinner/PictureCache.h"
#include "skinner/Skin.h"
#include "tools/skinc/SkinCompiler.h"

#include "bench/HeadlessScreen.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace {

// A control that draws its "Normal" picture, as a skinned button does.
class Tile final : public skinner::Control {
public:
    Tile(skinner::Container& container, const std::u16string& id)
        : Control(container, id)
        , look_(properties().picture(u"Normal", skinner::Picture()))
    {
    }
    void paint(platform::Canvas& canvas) override
    {
        look_.draw(canvas, rect());
        Control::paint(canvas);
    }
    void pointer_down(skinner::PointerButton, platform::Point, bool) override { repaint(); }

private:
    skinner::Picture look_;
};

struct Scene {
    Scene()
    {
        folder = bench_support::headless_folder();
        // A 40 x 40 button picture with a soft gradient and 8-pixel borders.
        platform::Bitmap button(40, 40);
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x)
                button.set_pixel(x, y, platform::make_color(40 + x * 4, 90 + y * 3, 200));
        platform::write_png(button, folder + "/button.png");
        platform::Bitmap back(16, 16, platform::make_color(30, 34, 40));
        platform::write_png(back, folder + "/back.png");

        skinc::SkinSource source;
        source.version = u"Ringwise_1.0";
        source.design_sizes[0] = { 480, 640 };
        source.pictures = { u"button", u"back" };
        skinc::Node form { u"FormBench", {}, {}, {} };
        form.properties.points.push_back({ u"Size", 480, 536 });
        form.properties.pictures.push_back({ u"Background", { 0, 0, 0, 0, 16, 16, 16, 16 }, 1, 1 });
        for (int i = 0; i < 30; ++i) {
            skinc::Node control { u"c" + std::u16string(1, char16_t(u'A' + i)), {}, {}, {} };
            auto x = static_cast<std::int16_t>(10 + (i % 3) * 155);
            auto y = static_cast<std::int16_t>(10 + (i / 3) * 52);
            control.properties.points = { { u"Position", x, y }, { u"Size", 150, 50 } };
            control.properties.pictures = { { u"Normal", { 0, 0, 8, 8, 32, 32, 40, 40 }, 0, 1 } };
            form.controls.push_back(control);
        }
        source.forms = { form };
        bench_support::write_skin(source, folder, "bench.skin");

        skinner::PictureCache::install();
        skin = std::make_unique<skinner::Skin>(
            platform::from_utf8(folder + "/bench.skin"), skinner::Point { 480, 640 });
        form_ = std::make_unique<skinner::Form>(nullptr, *skin, u"FormBench", nullptr);
        for (int i = 0; i < 30; ++i)
            tiles.push_back(
                std::make_unique<Tile>(*form_, u"c" + std::u16string(1, char16_t(u'A' + i))));
        platform::show_window(form_->window(), true);
        platform::set_foreground_window(form_->window());
        bench_support::drain();
    }
    ~Scene()
    {
        tiles.clear();
        form_.reset();
        skin.reset();
        std::filesystem::remove_all(folder);
    }

    std::string folder;
    std::unique_ptr<skinner::Skin> skin;
    std::unique_ptr<skinner::Form> form_;
    std::vector<std::unique_ptr<Tile>> tiles;
};

Scene& scene()
{
    static Scene instance;
    return instance;
}

void BM_FullRepaint30Controls(benchmark::State& state)
{
    Scene& s = scene();
    for (auto _ : state) {
        s.form_->invalidate({ 0, 0, 480, 536 });
        bench_support::drain();
    }
}
BENCHMARK(BM_FullRepaint30Controls)->Unit(benchmark::kMillisecond);

void BM_RepaintDirtyRect200x20(benchmark::State& state)
{
    Scene& s = scene();
    for (auto _ : state) {
        s.form_->invalidate({ 100, 200, 300, 220 });
        bench_support::drain();
    }
}
BENCHMARK(BM_RepaintDirtyRect200x20)->Unit(benchmark::kMicrosecond);

void BM_PointerDownToPaintedFrame(benchmark::State& state)
{
    Scene& s = scene();
    platform::WindowHandle window = s.form_->window();
    for (auto _ : state) {
        platform::post_message(
            window, platform::WM_LBUTTONDOWN, platform::MK_LBUTTON, platform::make_lparam(60, 30));
        platform::post_message(window, platform::WM_LBUTTONUP, 0, platform::make_lparam(60, 30));
        bench_support::drain();
    }
}
BENCHMARK(BM_PointerDownToPaintedFrame)->Unit(benchmark::kMicrosecond);

// CPU seconds the process uses while an open form waits two seconds in its
// modal loop for nothing (a timer then closes it).
void BM_IdleFormCpuOverTwoSeconds(benchmark::State& state)
{
    Scene& s = scene();
    for (auto _ : state) {
        std::clock_t start = std::clock();
        unsigned timer = s.form_->start_timer(2.0);
        // The wait ends when the timer expires.
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        platform::Message message;
        while (std::chrono::steady_clock::now() < deadline
            && platform::get_message(message) == platform::GetResult::Message) {
            // Anything but the timer is handled as the modal loop would.
            if (message.message == platform::WM_TIMER && message.wparam == timer)
                break;
            platform::dispatch_message(message);
        }
        s.form_->kill_timer(timer);
        double cpu = double(std::clock() - start) / CLOCKS_PER_SEC;
        state.counters["cpu_seconds"] = cpu;
    }
}
BENCHMARK(BM_IdleFormCpuOverTwoSeconds)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace
