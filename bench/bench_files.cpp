// Throughput of the file layer: a backup-sized chunk archive written and
// extracted through 32,768-byte blocks, path expansion, and code-page text.
#include "os/ChunkFile.h"
#include "os/Path.h"
#include "platform/Convert.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

struct Scratch {
    Scratch()
    {
        std::string pattern
            = (std::filesystem::temp_directory_path() / "ringwise-bench-XXXXXX").string();
        path = mkdtemp(pattern.data());
        std::filesystem::create_directories(path + "/commands");
        // About what forty tags occupy: a template and a recording each.
        for (int i = 0; i < 40; ++i) {
            std::ofstream(path + "/commands/tag" + std::to_string(i) + ".tag", std::ios::binary)
                << std::string(3000, 't');
            std::ofstream(path + "/commands/tag" + std::to_string(i) + ".wav", std::ios::binary)
                << std::string(60000, 'w');
        }
    }
    ~Scratch() { std::filesystem::remove_all(path); }
    std::u16string wide(const std::string& relative) const
    {
        return platform::from_utf8(path + "/" + relative);
    }
    std::string path;
};

void BM_BackupWrite(benchmark::State& state)
{
    Scratch scratch;
    for (auto _ : state) {
        os::ChunkFile writer(scratch.wide("backup.vcb"), 1);
        benchmark::DoNotOptimize(writer.add_directory(scratch.wide("commands"), u"commands"));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 40 * 63000);
}
BENCHMARK(BM_BackupWrite)->Unit(benchmark::kMillisecond);

void BM_BackupExtract(benchmark::State& state)
{
    Scratch scratch;
    {
        os::ChunkFile writer(scratch.wide("backup.vcb"), 1);
        writer.add_directory(scratch.wide("commands"), u"commands");
    }
    for (auto _ : state) {
        // A restore empties the folder first; rewriting existing files would
        // measure the file system's flush-on-truncate instead.
        state.PauseTiming();
        std::filesystem::remove_all(scratch.path + "/restored");
        state.ResumeTiming();
        os::ChunkFile reader(scratch.wide("backup.vcb"), 0);
        benchmark::DoNotOptimize(reader.extract_directory(scratch.wide("restored"), u"commands"));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 40 * 63000);
}
BENCHMARK(BM_BackupExtract)->Unit(benchmark::kMillisecond);

void BM_ExpandPath(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(os::expand_path(u"%app_path%/commands/Anna Home (mobile).tag"));
}
BENCHMARK(BM_ExpandPath);

void BM_NarrowToWide(benchmark::State& state)
{
    std::string text(4096, '\xe9');
    for (auto _ : state)
        benchmark::DoNotOptimize(platform::narrow_to_wide(text));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 4096);
}
BENCHMARK(BM_NarrowToWide);

} // namespace
