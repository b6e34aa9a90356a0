// The cost of a diagnostic log line, which reads the log switch from the
// registry every time, with the log off (the normal case) and on.

#include "os/Log.h"
#include "os/Registry.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace {

// A registry and log switch of the benchmark's own, in a temporary folder.
class Switch {
public:
    explicit Switch(std::uint32_t on)
    {
        std::string pattern
            = (std::filesystem::temp_directory_path() / "ringwise-bench-XXXXXX").string();
        if (char* made = mkdtemp(pattern.data()))
            folder_ = made;
        setenv("RINGWISE_REGISTRY", (folder_ + "/reg.db").c_str(), 1);
        os::RegistryKey key;
        key.create(os::LOG_SWITCH_KEY);
        key.set_number(os::LOG_SWITCH_VALUE, on);
    }
    ~Switch()
    {
        os::RegistryKey key;
        key.create(os::LOG_SWITCH_KEY);
        key.set_number(os::LOG_SWITCH_VALUE, 0);
        os::log();
        unsetenv("RINGWISE_REGISTRY");
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

private:
    std::string folder_;
};

void log_line(benchmark::State& state, std::uint32_t on)
{
    Switch log_switch(on);
    for (auto _ : state)
        os::log() << u"Document::play " << 42 << u"\n";
}

void BM_LogLineSwitchedOff(benchmark::State& state)
{
    log_line(state, 0);
}
void BM_LogLineSwitchedOn(benchmark::State& state)
{
    log_line(state, 1);
}

void BM_ReadRegistryNumber(benchmark::State& state)
{
    Switch log_switch(1);
    std::uint32_t value = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(
            os::read_registry_number(os::LOG_SWITCH_KEY, os::LOG_SWITCH_VALUE, value));
}

} // namespace

BENCHMARK(BM_LogLineSwitchedOff);
BENCHMARK(BM_LogLineSwitchedOn);
BENCHMARK(BM_ReadRegistryNumber);
