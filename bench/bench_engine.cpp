// Speed of the speech engine: analysis of a capture, template creation, one
// comparison, and a recognition over N stored tags read from disk.
#include "engine/FeatureExtraction.h"
#include "engine/Scoring.h"
#include "engine/TagFile.h"
#include "engine/TemplatePreparation.h"
#include "os/File.h"

#include "tests/engine/Recordings.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <unistd.h>

using namespace test_recordings;

namespace {

// About 2.5 s of speech: two names one after the other in a capture.
std::vector<std::int16_t> speech_capture()
{
    std::vector<std::int16_t> samples = capture(load("doctor-lee"), 1500);
    std::vector<std::int16_t> second = load("home-phone");
    for (std::size_t i = 0; i < second.size() && 25000 + i < samples.size(); ++i)
        samples[25000 + i] = static_cast<std::int16_t>(samples[25000 + i] + second[i]);
    return samples;
}

VoiceTemplate trained(const std::vector<std::int16_t>& samples)
{
    TemplateAnalysis analysis = create_template(samples.data(), bytes(samples));
    return VoiceTemplate(NEW_TEMPLATE_THRESHOLD, std::move(analysis.variants));
}

void BM_ExtractUtterance(benchmark::State& state)
{
    auto samples = speech_capture();
    for (auto _ : state) {
        FeatureSet set = extract_utterance(samples.data(), bytes(samples));
        benchmark::DoNotOptimize(set.frames.get());
    }
}
BENCHMARK(BM_ExtractUtterance)->Unit(benchmark::kMicrosecond);

void BM_CreateTemplate(benchmark::State& state)
{
    auto samples = speech_capture();
    for (auto _ : state) {
        TemplateAnalysis analysis = create_template(samples.data(), bytes(samples));
        benchmark::DoNotOptimize(analysis.variants[0].normalized.get());
    }
}
BENCHMARK(BM_CreateTemplate)->Unit(benchmark::kMicrosecond);

// One utterance against the three variants of one template: the same word
// (every window position passes the coarse test) or another word.
void BM_Compare(benchmark::State& state, const char* tag_name, const char* spoken)
{
    SpeechEngine engine;
    VoiceTemplate tag = trained(capture(load(tag_name)));
    auto samples = capture(load(spoken), 16000, 40);
    FeatureSet utterance = extract_utterance(samples.data(), bytes(samples));
    for (auto _ : state)
        benchmark::DoNotOptimize(template_distance(engine, tag, utterance));
}
BENCHMARK_CAPTURE(BM_Compare, same_word, "margaret-slow", "margaret-fast")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Compare, other_word, "doctor-lee", "margaret-fast")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Compare, similar_word, "office-slow", "margaret-fast")
    ->Unit(benchmark::kMicrosecond);

// The recognition run: read each ".tag" file, compare its three variants, score.
void BM_Recognition(benchmark::State& state)
{
    const auto count = static_cast<int>(state.range(0));
    const std::filesystem::path directory
        = std::filesystem::temp_directory_path() / ("ringwise-bench-tags-" + std::to_string(::getpid()));
    std::filesystem::remove_all(directory);
    std::filesystem::create_directories(directory);
    const char* names[] = { "margaret-slow", "margaret-fast", "office-slow", "office-fast",
        "doctor-lee", "home-phone" };
    std::vector<std::u16string> paths;
    for (int i = 0; i < count; ++i) {
        // Each tag a little different: the speech sits at another place over other noise.
        std::vector<std::int16_t> samples = capture(load(names[i % 6]), 8000 + 37 * i, 20 + i % 50);
        std::string path = (directory / (std::to_string(i) + ".tag")).string();
        paths.emplace_back(path.begin(), path.end());
        os::File file(paths.back(), 1);
        write_template(trained(samples), file);
    }
    SpeechEngine engine;
    auto spoken = capture(load("home-phone"), 16000, 40);
    FeatureSet utterance = extract_utterance(spoken.data(), bytes(spoken));
    for (auto _ : state) {
        RecognitionScore score;
        for (int i = 0; i < count; ++i)
            score.offer(i, engine, read_template(paths[i]), utterance);
        benchmark::DoNotOptimize(score.winner());
    }
    std::filesystem::remove_all(directory);
}
BENCHMARK(BM_Recognition)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

} // namespace
