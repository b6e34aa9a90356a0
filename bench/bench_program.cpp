// The recognition program: start-up of the real bin/Ringwise to its first
// painted frame (headless, the shipped skin), the Processing step of a run
// (the capture's analysis and the comparison with every tag on disk) for 10,
// 100 and 1000 tags, and the resident memory of a whole run.

#include "app/Document.h"
#include "app/TagMatching.h"
#include "app/TrainedTag.h"
#include "audio/FileWriterWAVPCM.h"
#include "engine/FeatureExtraction.h"
#include "platform/Convert.h"
#include "tests/audio/AudioTestSupport.h"
#include "tests/engine/Recordings.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

const char* const RECORDINGS[]
    = { "margaret-slow", "office-slow", "home-phone", "doctor-lee", "office-fast" };

std::string scratch_folder()
{
    std::string pattern = (fs::temp_directory_path() / "ringwise-bench-XXXXXX").string();
    return mkdtemp(pattern.data());
}

// A store with `count` tagged commands whose tags are trained from the
// engine's recordings in turn.
std::string store_with_tags(int count)
{
    std::string folder = scratch_folder();
    Document document(platform::from_utf8(folder));
    std::vector<TrainedTag> tags;
    for (const char* name : RECORDINGS)
        tags.push_back(*TrainedTag::train(test_recordings::capture(test_recordings::load(name))));
    fs::create_directories(folder + "/commands");
    for (int i = 0; i < count; ++i) {
        Command command;
        command.id = i + 1;
        command.name = command.full_name = u"Contact " + platform::from_utf8(std::to_string(i));
        command.phone = platform::from_utf8(std::to_string(1000 + i));
        command.voice = document.new_tag_name();
        tags[static_cast<std::size_t>(i) % tags.size()].write_tag(document.tag_path(command.voice));
        document.add_command(command);
    }
    document.save_commands();
    return folder;
}

void BM_ProcessingStep(benchmark::State& state)
{
    std::string folder = store_with_tags(static_cast<int>(state.range(0)));
    Document document(platform::from_utf8(folder));
    document.load_commands();
    std::vector<std::int16_t> capture
        = test_recordings::capture(test_recordings::load("margaret-fast"));
    for (auto _ : state) {
        FeatureSet utterance = extract_utterance(capture.data(), test_recordings::bytes(capture));
        RecognitionScore score = match_tags(document, utterance);
        benchmark::DoNotOptimize(score.best_accuracy());
    }
    state.counters["tags"] = static_cast<double>(document.tag_count());
    fs::remove_all(folder);
}
BENCHMARK(BM_ProcessingStep)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

// A program folder for bin/Ringwise with the shipped skin and texts and two
// tags; headless, calls to the logging phone library.
std::string program_folder()
{
    std::string folder = store_with_tags(2);
    fs::path bin = fs::path(RINGWISE_BINARY_DIR) / "bin";
    fs::copy_file(bin / "Ringwise", folder + "/Ringwise");
    fs::copy_file(bin / "libphone-log.so", folder + "/libphone-log.so");
    fs::copy_file(bin / "English.lng", folder + "/English.lng");
    fs::copy(bin / "skins", folder + "/skins", fs::copy_options::recursive);
    ::setenv("RINGWISE_HEADLESS", "1", 1);
    ::setenv("RINGWISE_REGISTRY", (folder + "/registry.db").c_str(), 1);
    ::setenv("RINGWISE_CONTACTS", (folder + "/contacts.vcf").c_str(), 1);
    ::setenv("RINGWISE_PHONE", (folder + "/libphone-log.so").c_str(), 1);
    ::setenv("RINGWISE_PHONE_LOG", (folder + "/calls.log").c_str(), 1);
    ::setenv("RINGWISE_SPEAKER", (folder + "/speaker.wav").c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
    // The microphone says what the first tag says, after the lead-in.
    std::vector<std::int16_t> samples = test_recordings::noise(4410, 30, 7u);
    std::vector<std::int16_t> speech
        = test_recordings::capture(test_recordings::load("margaret-fast"));
    samples.insert(samples.end(), speech.begin(), speech.end());
    audio::FileWriterWAVPCM(platform::from_utf8(folder + "/capture.wav"))
        .on_data(audio_test::sample_block(samples));
    ::setenv("RINGWISE_MIC", (folder + "/capture.wav").c_str(), 1);
    std::ofstream(folder + "/settings.xml")
        << "<Settings><General PlaySound=\"true\" PlayCommands=\"true\" "
           "WaitConfirmation=\"false\"/></Settings>";
    return folder;
}

// Runs the program to its end; the peak resident set in KiB goes to `peak`.
double run_program(const std::string& folder, long& peak)
{
    std::string program = folder + "/Ringwise";
    char* argv[] = { program.data(), nullptr };
    auto started = std::chrono::steady_clock::now();
    pid_t pid = -1;
    if (::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ) != 0)
        return 0;
    int status = 0;
    rusage usage {};
    ::wait4(pid, &status, 0, &usage);
    peak = usage.ru_maxrss;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
}

// The script plays once the first window is up and the screen is idle,
// that is after the first frame was painted; its only line ends the run.
void BM_StartupToFirstFrame(benchmark::State& state)
{
    std::string folder = program_folder();
    std::ofstream(folder + "/script.txt") << "command Cancel\n";
    ::setenv("RINGWISE_SCRIPT", (folder + "/script.txt").c_str(), 1);
    long peak = 0;
    for (auto _ : state) {
        double seconds = run_program(folder, peak);
        state.SetIterationTime(seconds);
    }
    ::unsetenv("RINGWISE_SCRIPT");
    fs::remove_all(folder);
}
BENCHMARK(BM_StartupToFirstFrame)->UseManualTime()->Unit(benchmark::kMillisecond);

// A whole run that dials: prompts, 2.7 s of capture, matching, playback.
void BM_ResidentMemoryOfARun(benchmark::State& state)
{
    std::string folder = program_folder();
    long peak = 0;
    for (auto _ : state) {
        double seconds = run_program(folder, peak);
        state.SetIterationTime(seconds);
    }
    state.counters["peak_rss_MiB"] = static_cast<double>(peak) / 1024.0;
    std::ifstream calls(folder + "/calls.log");
    std::string dialled((std::istreambuf_iterator<char>(calls)), {});
    state.counters["dialled"] = dialled.empty() ? 0 : 1;
    fs::remove_all(folder);
}
BENCHMARK(BM_ResidentMemoryOfARun)->UseManualTime()->Iterations(2)->Unit(benchmark::kMillisecond);

} // namespace
