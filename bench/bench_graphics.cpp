// Drawing a full screen: nine-part pictures (opaque, 1-bit and alpha
// masks) and a line of text, and measuring text.
#include "platform/graphics/Canvas.h"
#include "platform/graphics/TextRenderer.h"

#include <benchmark/benchmark.h>

using namespace platform;

namespace {

Bitmap face()
{
    Bitmap bitmap(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            bitmap.set_pixel(x, y, make_color(x * 4, y * 4, 128));
    return bitmap;
}

void draw_screen(benchmark::State& state, int depth, bool stretch)
{
    Bitmap picture = face();
    Mask mask(64, 64, depth == 0 ? 1 : depth);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            mask.set_value(x, y, std::uint8_t(depth == 8 ? (x * 4) : (x + y) % 2));
    Bitmap screen(480, 640, make_color(255, 255, 255));
    Canvas canvas(screen);
    PictureAxis axis { 0, 8, 56, 64, stretch };
    for (auto _ : state) {
        canvas.draw_picture(picture, depth == 0 ? nullptr : &mask, { 0, 0, 480, 640 }, axis, axis);
        benchmark::DoNotOptimize(screen.data());
    }
    state.SetItemsProcessed(state.iterations() * 480 * 640);
}

void BM_NinePartOpaqueStretched(benchmark::State& state)
{
    draw_screen(state, 0, true);
}
void BM_NinePartOpaqueRepeated(benchmark::State& state)
{
    draw_screen(state, 0, false);
}
void BM_NinePartOneBitMask(benchmark::State& state)
{
    draw_screen(state, 1, true);
}
void BM_NinePartAlphaMask(benchmark::State& state)
{
    draw_screen(state, 8, true);
}

void BM_DrawTextLine(benchmark::State& state)
{
    Font font = Font::create({ u"Tahoma", -24, 700, false, false });
    Bitmap screen(480, 60, make_color(255, 255, 255));
    Canvas canvas(screen);
    for (auto _ : state)
        draw_text(canvas, font, u"John Smith (mobile) 97%", { 0, 0, 480, 60 },
            TEXT_CENTER | TEXT_VCENTER | TEXT_SINGLELINE, make_color(0, 0, 0));
}

void BM_MeasureText(benchmark::State& state)
{
    Font font = Font::create({ u"Tahoma", -16, 400, false, false });
    for (auto _ : state)
        benchmark::DoNotOptimize(measure_text(font, u"Assign voice tag"));
}

} // namespace

BENCHMARK(BM_NinePartOpaqueStretched);
BENCHMARK(BM_NinePartOpaqueRepeated);
BENCHMARK(BM_NinePartOneBitMask);
BENCHMARK(BM_NinePartAlphaMask);
BENCHMARK(BM_DrawTextLine);
BENCHMARK(BM_MeasureText);
