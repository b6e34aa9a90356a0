// Speed of the precise matching: the cepstra of a capture, and a recognition
// (the capture's analysis and its match) over N tags, once the tags are
// loaded; and the loading itself, which learns the tags' distances.
#include "engine/SpeechExtent.h"
#include "engine/precise/CepstralAnalysis.h"
#include "engine/precise/PreciseMatcher.h"

#include "tests/engine/Recordings.h"

#include <benchmark/benchmark.h>

using namespace test_recordings;

namespace {

const char* const WORDS[] = { "doctor-lee", "home-phone", "margaret-fast", "margaret-slow",
    "office-fast", "office-slow" };

// N tags as stored recordings: the fixtures over different noise, each
// trimmed to its speech extent.
std::vector<CepstralFrames> tags(int count)
{
    std::vector<CepstralFrames> result;
    for (int i = 0; i < count; ++i) {
        std::vector<std::int16_t> samples = capture(load(WORDS[i % 6]), 11025, 20 + i);
        auto extent = find_speech_extent(samples.data(), bytes(samples));
        result.push_back(analyse_cepstra(
            samples.data() + extent->start, static_cast<std::size_t>(extent->end - extent->start)));
    }
    return result;
}

void BM_UtteranceCepstra(benchmark::State& state)
{
    auto samples = capture(load("doctor-lee"), 1500);
    for (auto _ : state) {
        CepstralFrames frames = analyse_utterance_cepstra(samples.data(), samples.size());
        benchmark::DoNotOptimize(frames.values.data());
    }
}
BENCHMARK(BM_UtteranceCepstra)->Unit(benchmark::kMillisecond);

void BM_PreciseRecognition(benchmark::State& state)
{
    PreciseMatcher matcher(tags(static_cast<int>(state.range(0))));
    auto samples = capture(load("margaret-fast"), 3000, 40);
    for (auto _ : state) {
        CepstralFrames utterance = analyse_utterance_cepstra(samples.data(), samples.size());
        PreciseMatch match = matcher.match(utterance);
        benchmark::DoNotOptimize(match.index);
    }
}
BENCHMARK(BM_PreciseRecognition)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);

void BM_PreciseLoading(benchmark::State& state)
{
    auto frames = tags(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        PreciseMatcher matcher(frames);
        benchmark::DoNotOptimize(matcher.reference_distance(0));
    }
}
BENCHMARK(BM_PreciseLoading)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);

} // namespace
