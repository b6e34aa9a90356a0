#include "audio/FileReaderWAVPCM.h"
#include "audio/FileWriterWAVPCM.h"
#include "tests/audio/AudioTestSupport.h"
#include "tests/support/TempDirectory.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <sys/wait.h>

namespace {

const std::string TOOL = RINGWISE_BINARY_DIR "/bin/ringwise-tool";
const std::string RECORDINGS = RINGWISE_SOURCE_DIR "/tests/data/tools/";

struct ToolRun {
    int status { -1 };
    std::string out;
    std::string err;
    std::vector<std::string> lines() const
    {
        std::vector<std::string> result;
        std::istringstream in(out);
        for (std::string line; std::getline(in, line);)
            result.push_back(line);
        return result;
    }
};

std::vector<std::string> words(const std::string& line)
{
    std::vector<std::string> result;
    std::istringstream in(line);
    for (std::string word; in >> word;)
        result.push_back(word);
    return result;
}

// A 16-bit recording built with the project's WAV writer.
void write_wav(const std::u16string& path, const std::vector<std::int16_t>& samples,
    std::int32_t channels = 1, std::int32_t rate = 22050)
{
    audio::FileWriterWAVPCM writer(path);
    writer.on_data(audio_test::sample_block(samples, channels, rate));
}

std::vector<std::int16_t> read_samples(const std::string& path)
{
    audio::FileReaderWAVPCM reader(std::u16string(path.begin(), path.end()));
    return audio_test::samples_of(reader.get_data(1 << 24));
}

class RingwiseTool : public ::testing::Test {
protected:
    ToolRun run(const std::string& arguments)
    {
        ToolRun result;
        std::string err_file = temp.native("stderr.txt");
        FILE* pipe = popen(
            (environment + " " + TOOL + " " + arguments + " 2>'" + err_file + "'").c_str(), "r");
        if (!pipe)
            return result;
        char buffer[4096];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
            result.out.append(buffer, n);
        int status = pclose(pipe);
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        auto err = audio_test::read_bytes(err_file);
        result.err.assign(err.begin(), err.end());
        return result;
    }

    std::string recording(const std::string& name) { return "'" + RECORDINGS + name + ".wav'"; }
    std::string at(const std::string& name) { return "'" + temp.native(name) + "'"; }

    TempDirectory temp;
    // Variable assignments for the tool's environment, in shell syntax.
    std::string environment;
};

} // namespace

TEST_F(RingwiseTool, TrainsTwoNamesAndRecognisesAnotherRecordingOfEach)
{
    ToolRun anna = run("train " + recording("anna-1") + " " + at("001"));
    ASSERT_EQ(anna.status, 0) << anna.err;
    ToolRun oscar = run("train " + recording("oscar-1") + " " + at("002"));
    ASSERT_EQ(oscar.status, 0) << oscar.err;

    const std::pair<const char*, const char*> cases[] = { { "anna-2", "1" }, { "oscar-2", "2" } };
    for (auto [name, winner] : cases) {
        ToolRun match = run("match " + recording(name) + " " + at("001.tag") + " " + at("002.tag"));
        EXPECT_EQ(match.status, 0) << name;
        auto lines = match.lines();
        ASSERT_EQ(lines.size(), 3u) << match.out;
        auto first = words(lines[0]);
        auto second = words(lines[1]);
        auto result = words(lines[2]);
        ASSERT_EQ(first.size(), 5u);
        ASSERT_EQ(second.size(), 5u);
        EXPECT_EQ(first[0], temp.native("001.tag"));
        EXPECT_EQ(second[0], temp.native("002.tag"));
        ASSERT_EQ(result.size(), 3u);
        EXPECT_EQ(result[0], "result");
        EXPECT_EQ(result[1], winner) << name;

        // The winner's accuracy, truncated, is the one reported; the loser scores lower.
        auto& won = std::string(winner) == "1" ? first : second;
        auto& lost = std::string(winner) == "1" ? second : first;
        EXPECT_EQ(std::stoi(result[2]), static_cast<int>(std::stod(won[4])));
        EXPECT_GT(std::stod(won[4]), std::stod(lost[4]));
        double best = std::min({ std::stod(won[1]), std::stod(won[2]), std::stod(won[3]) });
        EXPECT_NEAR(std::stod(won[4]), 100 - best / 0.2 * 100, 1e-3);
    }
}

TEST_F(RingwiseTool, TrainWritesTheTrimmedRecordingAndAMatchingTemplate)
{
    ToolRun train = run("train " + recording("oscar-1") + " " + at("tag"));
    ASSERT_EQ(train.status, 0) << train.err;
    auto extent = words(train.out);
    ASSERT_EQ(extent.size(), 3u);
    EXPECT_EQ(extent[0], "extent");
    int start = std::stoi(extent[1]);
    int end = std::stoi(extent[2]);
    ASSERT_LT(start, end);

    // The same extent, found on its own.
    EXPECT_EQ(run("extent " + recording("oscar-1")).out, train.out);

    // The kept audio is the input's, from the lead-in on, between the offsets.
    std::vector<std::int16_t> input = read_samples(RECORDINGS + "oscar-1.wav");
    std::vector<std::int16_t> kept = read_samples(temp.native("tag.wav"));
    ASSERT_EQ(kept.size(), static_cast<std::size_t>((end - start) / 2));
    EXPECT_TRUE(std::equal(kept.begin(), kept.end(), input.begin() + 4410 + start / 2));

    // Each variant of the template has the frames the engine computes at its step.
    ToolRun dump = run("dump " + at("tag.tag"));
    ASSERT_EQ(dump.status, 0);
    auto lines = dump.lines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "threshold 0.200000003");
    std::vector<int> counts;
    int normalized_rows = 0;
    int frame_rows = 0;
    for (auto& line : lines) {
        auto fields = words(line);
        if (fields[0] == "count")
            counts.push_back(std::stoi(fields[1]));
        normalized_rows += fields[0] == "normalized" && fields.size() == 5;
        frame_rows += fields[0] == "frames" && fields.size() == 5;
    }
    ASSERT_EQ(counts.size(), 3u);
    const int steps[] = { 384, 406, 362 };
    for (int v = 0; v < 3; ++v) {
        ToolRun features
            = run("features " + recording("oscar-1") + " --step " + std::to_string(steps[v]));
        EXPECT_EQ(features.lines().at(0), "frames " + std::to_string(counts[v]));
        EXPECT_EQ(features.lines().size(), static_cast<std::size_t>(counts[v] + 1));
    }
    EXPECT_EQ(normalized_rows, counts[0] + counts[1] + counts[2]);
    EXPECT_EQ(frame_rows, normalized_rows);
}

TEST_F(RingwiseTool, FindsNoSpeechInSilenceOrBeyondTheCaptureLimit)
{
    write_wav(temp.wide("silence.wav"), std::vector<std::int16_t>(59535, 0));
    // The extent of pure silence is the detector's fixed margins.
    EXPECT_EQ(run("extent " + at("silence.wav")).out, "extent 0 17630\n");
    ToolRun silent = run("train " + at("silence.wav") + " " + at("out"));
    EXPECT_EQ(silent.status, 1);
    EXPECT_EQ(silent.err, "no speech found\n");
    EXPECT_EQ(silent.out, "");
    EXPECT_FALSE(std::filesystem::exists(temp.native("out.tag")));
    EXPECT_FALSE(std::filesystem::exists(temp.native("out.wav")));

    // Speech that starts after 2.7 s is never captured.
    std::vector<std::int16_t> late(22050 * 3, 0);
    std::vector<std::int16_t> speech = read_samples(RECORDINGS + "anna-1.wav");
    late.insert(late.end(), speech.begin(), speech.end());
    write_wav(temp.wide("late.wav"), late);
    EXPECT_EQ(run("train " + at("late.wav") + " " + at("out")).status, 1);

    // A click inside the lead-in only counts when the lead-in is kept.
    std::vector<std::int16_t> click(22050 * 2, 0);
    for (int i = 1000; i < 1400; ++i)
        click[i] = static_cast<std::int16_t>(i % 2 ? 20000 : -20000);
    write_wav(temp.wide("click.wav"), click);
    EXPECT_EQ(run("train " + at("click.wav") + " " + at("out")).status, 1);
    EXPECT_EQ(run("train " + at("click.wav") + " " + at("out") + " --no-lead-in").status, 0);

    // A capture shorter than one analysis frame has signal but no frames to store.
    std::vector<std::int16_t> tiny(400);
    for (std::size_t i = 0; i < tiny.size(); ++i)
        tiny[i] = static_cast<std::int16_t>(i % 2 ? 9000 : -9000);
    write_wav(temp.wide("tiny.wav"), tiny);
    std::filesystem::remove(temp.native("tiny-out.tag"));
    ToolRun short_run = run("train " + at("tiny.wav") + " " + at("tiny-out") + " --no-lead-in");
    EXPECT_EQ(short_run.status, 1);
    EXPECT_EQ(short_run.err, "no speech found\n");
    EXPECT_FALSE(std::filesystem::exists(temp.native("tiny-out.tag")));
    EXPECT_TRUE(std::filesystem::exists(temp.native("out.tag")));
}

TEST_F(RingwiseTool, RefusesAudioOutsideTheCaptureFormat)
{
    write_wav(temp.wide("stereo.wav"), std::vector<std::int16_t>(2000, 5), 2);
    write_wav(temp.wide("fast.wav"), std::vector<std::int16_t>(2000, 5), 1, 44100);
    audio_test::write_bytes(temp.native("text.wav"), std::vector<std::uint8_t>(100, 'a'));
    for (const char* name : { "stereo.wav", "fast.wav", "text.wav", "missing.wav" }) {
        for (const std::string command : { "extent ", "features ", "match " }) {
            ToolRun refused = run(command + at(name) + (command == "match " ? " x.tag" : ""));
            EXPECT_EQ(refused.status, 2) << command << name;
            EXPECT_EQ(refused.out, "") << command << name;
            EXPECT_NE(refused.err.find(name), std::string::npos) << refused.err;
        }
    }
    EXPECT_EQ(run("").status, 2);
    EXPECT_EQ(run("features " + recording("anna-1") + " --step 0").status, 2);
    EXPECT_EQ(run("match " + recording("anna-1")).status, 2);
    EXPECT_EQ(run("train " + recording("anna-1")).status, 2);
}

TEST_F(RingwiseTool, MatchAndDumpTellDamagedTagsApart)
{
    ASSERT_EQ(run("train " + recording("anna-1") + " " + at("good")).status, 0);
    auto bytes = audio_test::read_bytes(temp.native("good.tag"));
    bytes.resize(bytes.size() - 3);
    audio_test::write_bytes(temp.native("cut.tag"), bytes);

    ToolRun dump = run("dump " + at("cut.tag"));
    EXPECT_EQ(dump.status, 1);
    EXPECT_EQ(dump.out, "invalid tag\n");
    EXPECT_EQ(run("dump " + at("missing.tag")).status, 2);

    // A damaged or missing tag never wins; the winner's index counts every tag given.
    ToolRun match = run("match " + recording("anna-2") + " " + at("cut.tag") + " "
        + at("missing.tag") + " " + at("good.tag"));
    EXPECT_EQ(match.status, 0);
    auto lines = match.lines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(words(lines[0]),
        (std::vector<std::string> { temp.native("cut.tag"), "3", "3", "3", "-inf" }));
    EXPECT_EQ(words(lines[3])[1], "3");

    // Silence matches nothing.
    write_wav(temp.wide("silence.wav"), std::vector<std::int16_t>(59535, 0));
    ToolRun none = run("match " + at("silence.wav") + " " + at("good.tag"));
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.lines().back(), "result none");
}

TEST_F(RingwiseTool, RecordsAndPlaysThroughTheFileDevicesSampleForSample)
{
    environment = "RINGWISE_MIC=" + recording("oscar-1") + " RINGWISE_SPEAKER=" + at("speaker.wav");
    ToolRun recorded = run("record " + at("heard.wav") + " --seconds 1.2");
    EXPECT_EQ(recorded.status, 0) << recorded.err;
    std::vector<std::int16_t> heard = read_samples(temp.native("heard.wav"));
    std::vector<std::int16_t> said = read_samples(RECORDINGS + "oscar-1.wav");
    ASSERT_EQ(heard.size(), 26460u);
    EXPECT_TRUE(std::equal(heard.begin(), heard.end(), said.begin()));

    ToolRun played = run("play " + recording("anna-1"));
    EXPECT_EQ(played.status, 0) << played.err;
    EXPECT_EQ(read_samples(temp.native("speaker.wav")), read_samples(RECORDINGS + "anna-1.wav"));

    // A sound system without a usable driver: a clear error, not a hang.
    environment = "SDL_AUDIODRIVER=no-such-driver";
    ToolRun no_microphone = run("record " + at("none.wav"));
    EXPECT_EQ(no_microphone.status, 1);
    EXPECT_NE(no_microphone.err.find("no capture device"), std::string::npos);
    ToolRun no_speaker = run("play " + at("heard.wav"));
    EXPECT_EQ(no_speaker.status, 1);
    EXPECT_NE(no_speaker.err.find("no output device"), std::string::npos);
}

TEST_F(RingwiseTool, MatchesWithThePreciseEngineFromTheTagsRecordings)
{
    ASSERT_EQ(run("train " + recording("anna-1") + " " + at("001")).status, 0);
    ASSERT_EQ(run("train " + recording("oscar-1") + " " + at("002")).status, 0);

    const std::string tags = " " + at("001.tag") + " " + at("002.tag");
    for (auto [name, winner] : { std::pair { "anna-2", "1" }, std::pair { "oscar-2", "2" } }) {
        ToolRun match = run("match --engine precise " + recording(name) + tags);
        auto lines = match.lines();
        ASSERT_EQ(lines.size(), 3u) << match.out;
        auto first = words(lines[0]);
        ASSERT_EQ(first.size(), 3u);
        EXPECT_EQ(first[0], temp.native("001.tag"));
        EXPECT_GT(std::stod(first[2]), 0.0);
        // Two tags never make a sure match: the run would ask first.
        auto result = words(lines[2]);
        ASSERT_EQ(result.size(), 4u) << lines[2];
        EXPECT_EQ(match.status, 0);
        EXPECT_EQ(result[0], "result");
        EXPECT_EQ(result[1], winner) << name;
        EXPECT_GE(std::stoi(result[2]), 0);
        EXPECT_LE(std::stoi(result[2]), 100);
        EXPECT_EQ(result[3], "unsure");
    }
    // The tags' frames were cached beside them.
    EXPECT_TRUE(std::filesystem::exists(temp.native("001.cepstra")));

    // The classic engine by name prints what it prints by default.
    ToolRun classic = run("match --engine classic " + recording("anna-2") + tags);
    ToolRun by_default = run("match " + recording("anna-2") + tags);
    EXPECT_EQ(classic.out, by_default.out);
    EXPECT_EQ(classic.status, by_default.status);
}

TEST_F(RingwiseTool, ThePreciseEngineRejectsSilenceAndSkipsTagsWithoutRecording)
{
    ASSERT_EQ(run("train " + recording("anna-1") + " " + at("001")).status, 0);
    write_wav(temp.wide("silence.wav"), std::vector<std::int16_t>(59535, 0));
    ToolRun none = run("match --engine precise " + at("silence.wav") + " " + at("001.tag"));
    EXPECT_EQ(none.status, 1);
    ASSERT_FALSE(none.lines().empty());
    EXPECT_EQ(none.lines().back(), "result none");

    ToolRun missing = run("match --engine precise " + recording("anna-2") + " " + at("lost.tag")
        + " " + at("001.tag"));
    auto lines = missing.lines();
    ASSERT_EQ(lines.size(), 3u) << missing.out;
    EXPECT_EQ(lines[0], temp.native("lost.tag") + " unusable");
    EXPECT_EQ(words(lines[2])[1], "2");

    EXPECT_EQ(run("match --engine fastest " + recording("anna-2") + " " + at("001.tag")).status, 2);
    EXPECT_EQ(run("match " + recording("anna-2") + " " + at("001.tag") + " --engine").status, 2);
}
