// Skin lookups: a property of the control last asked for (cached node), of
// alternating controls (tree search each time), the variant choice for
// alternating kinds, and loading the description.
#include "skinner/Skin.h"
#include "tools/skinc/SkinCompiler.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <unistd.h>

namespace {

std::u16string wide(const std::string& text)
{
    return std::u16string(text.begin(), text.end());
}

// 40 forms of 30 controls with 24 properties each, written once per process.
const std::u16string& skin_path()
{
    static const std::string path = "/tmp/bench_skin." + std::to_string(getpid()) + ".skin";
    static const bool written = [] {
        skinc::SkinSource skin;
        skin.version = u"Ringwise_1.0";
        skin.design_sizes[0] = { 240, 320 };
        for (int f = 0; f < 40; ++f) {
            skinc::Node form { wide("Form" + std::to_string(f)), {}, {}, {} };
            form.properties.points.push_back({ u"Size", 240, 260 });
            for (int c = 0; c < 30; ++c) {
                skinc::Node control { wide("ctl" + std::to_string(c)), {}, {}, {} };
                for (int p = 0; p < 24; ++p)
                    control.properties.integers.push_back(
                        { wide("Property" + std::to_string(p)), p });
                form.controls.push_back(control);
            }
            skin.forms.push_back(form);
        }
        std::vector<std::uint8_t> bytes;
        std::string error;
        skinc::build_skin_file(skin, false, "", bytes, error);
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        std::atexit([] { std::remove(path.c_str()); });
        return true;
    }();
    (void)written;
    static const std::u16string result = wide(path);
    return result;
}

void CachedControlProperty(benchmark::State& state)
{
    skinner::Skin skin(skin_path(), { 480, 640 }, {});
    for (auto _ : state)
        benchmark::DoNotOptimize(skin.integer(u"Form7", u"ctl12", u"Property17", 0));
}
BENCHMARK(CachedControlProperty);

void AlternatingControls(benchmark::State& state)
{
    skinner::Skin skin(skin_path(), { 480, 640 }, {});
    int i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(
            skin.integer(u"Form7", (++i & 1) ? u"ctl3" : u"ctl21", u"Property5", 0));
}
BENCHMARK(AlternatingControls);

void AlternatingKinds(benchmark::State& state)
{
    skinner::Skin skin(skin_path(), { 480, 640 }, {});
    int i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(skin.has_form((++i & 1) ? u"Form3" : u"Form21"));
}
BENCHMARK(AlternatingKinds);

void LoadSkin(benchmark::State& state)
{
    for (auto _ : state) {
        skinner::Skin skin(skin_path(), { 480, 640 }, {});
        benchmark::DoNotOptimize(skin.is_valid());
    }
}
BENCHMARK(LoadSkin);

} // namespace
