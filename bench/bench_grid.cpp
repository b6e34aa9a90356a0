// The grid on the headless screen: a full page of a 480 x 640 grid, one row
// of scrolling in a grid of 10 000 rows, and one keystroke of the filter over
// those 10 000 rows (the application narrows its rows, the grid refreshes
// and paints what shows).
#include "platform/Convert.h"
#include "platform/MessageQueue.h"
#include "platform/Screen.h"
#include "platform/Window.h"
#include "skinner/ControlGridFilter.h"
#include "skinner/Form.h"
#include "skinner/Skin.h"
#include "tools/skinc/SkinCompiler.h"

#include "bench/HeadlessScreen.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

namespace {

// 10 000 contacts in two columns; the filter keeps the rows whose name holds
// the filter text, found once per keystroke.
class Contacts final : public skinner::ControlGridFilter {
public:
    Contacts(skinner::Container& container)
        : ControlGridFilter(container, u"grid")
    {
        for (int i = 0; i < 10000; ++i)
            names_.push_back(u"Contact " + platform::from_utf8(std::to_string(i * 7919 % 10007)));
        narrow(u"");
    }
    int row_count() const override { return static_cast<int>(shown_.size()); }
    int column_count() const override { return 2; }
    int column_width(int column) const override { return column == 0 ? -1 : 120; }
    std::u16string cell_text(int column, int row) const override
    {
        const std::u16string& name
            = names_[static_cast<std::size_t>(shown_[static_cast<std::size_t>(row)])];
        return column == 0 ? name : u"+49 30 " + name.substr(8);
    }
    void narrow(const std::u16string& filter)
    {
        shown_.clear();
        for (std::size_t i = 0; i < names_.size(); ++i) {
            if (filter.empty() || names_[i].find(filter) != std::u16string::npos)
                shown_.push_back(static_cast<int>(i));
        }
        set_filter_text(filter);
        refresh();
    }

private:
    std::vector<std::u16string> names_;
    std::vector<int> shown_;
};

struct Scene {
    Scene()
    {
        folder = bench_support::headless_folder();
        skinc::SkinSource source;
        source.version = u"Ringwise_1.0";
        source.design_sizes[0] = { 480, 640 };
        source.fonts = { u"12 0 0 0 DejaVu Sans" };
        skinc::Node form { u"FormGrid", {}, {}, {} };
        form.properties.points.push_back({ u"Size", 480, 536 });
        skinc::Node grid { u"grid", {}, {}, {} };
        grid.properties.points = { { u"Position", 0, 0 }, { u"Size", 480, 536 } };
        grid.properties.integers = { { u"ItemHeight", 40 } };
        grid.properties.fonts = { { u"ItemNormal", 0 } };
        grid.properties.colors = { { u"ItemFiltered", { 0, 0, 255, 0 } } };
        form.controls = { grid };
        source.forms = { form };
        bench_support::write_skin(source, folder, "grid.skin");
        skin = std::make_unique<skinner::Skin>(
            platform::from_utf8(folder + "/grid.skin"), skinner::Point { 480, 640 });
        form_ = std::make_unique<skinner::Form>(nullptr, *skin, u"FormGrid", nullptr);
        contacts = std::make_unique<Contacts>(*form_);
        platform::show_window(form_->window(), true);
        bench_support::drain();
    }
    ~Scene()
    {
        contacts.reset();
        form_.reset();
        skin.reset();
        std::filesystem::remove_all(folder);
    }
    std::string folder;
    std::unique_ptr<skinner::Skin> skin;
    std::unique_ptr<skinner::Form> form_;
    std::unique_ptr<Contacts> contacts;
};

Scene& scene()
{
    static Scene instance;
    return instance;
}

void BM_GridFullPage(benchmark::State& state)
{
    Scene& s = scene();
    for (auto _ : state) {
        s.contacts->repaint();
        bench_support::drain();
    }
}
BENCHMARK(BM_GridFullPage)->Unit(benchmark::kMillisecond);

void BM_GridScrollOneRowOf10000(benchmark::State& state)
{
    Scene& s = scene();
    int row = 0;
    for (auto _ : state) {
        s.contacts->scroll_to(row = (row + 1) % 5000);
        bench_support::drain();
    }
}
BENCHMARK(BM_GridScrollOneRowOf10000)->Unit(benchmark::kMillisecond);

void BM_GridFilterKeystrokeOver10000(benchmark::State& state)
{
    Scene& s = scene();
    const std::u16string filters[] = { u"1", u"12", u"1", u"" };
    std::size_t next = 0;
    for (auto _ : state) {
        s.contacts->narrow(filters[next++ % 4]);
        bench_support::drain();
    }
}
BENCHMARK(BM_GridFilterKeystrokeOver10000)->Unit(benchmark::kMillisecond);

} // namespace
