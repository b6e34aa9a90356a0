#include "app/TagCepstra.h"
#include "engine/FeatureExtraction.h"
#include "engine/Matcher.h"
#include "engine/Scoring.h"
#include "engine/SpeechEngine.h"
#include "engine/TagFile.h"
#include "engine/precise/CepstralAnalysis.h"
#include "engine/precise/PreciseMatcher.h"
#include "platform/Convert.h"
#include "tools/ringwise-tool/ToolCapture.h"
#include "tools/ringwise-tool/ToolCommand.h"

#include <algorithm>
#include <cstdio>

namespace tool {

namespace {

// Compares a recording with voice tags as the recognition run does: every
// tag's distances over its three variants and its accuracy, then the winner
// (the first of the highest accuracies above 0) or none.
int match_classic(const Capture& capture, const std::vector<std::string>& tags)
{
    SpeechEngine engine;
    FeatureSet utterance = extract_utterance(capture.data(), capture.byte_count());
    RecognitionScore score;
    for (std::size_t i = 0; i < tags.size(); ++i) {
        VoiceTemplate voice = read_template(platform::from_utf8(tags[i]));
        float distances[3];
        float best = 0;
        for (int v = 0; v < 3; ++v) {
            distances[v] = compare(engine, voice.variant(v), utterance);
            if (v == 0 || distances[v] < best)
                best = distances[v];
        }
        float accuracy = accuracy_of(best, voice.threshold());
        score.offer_accuracy(static_cast<int>(i + 1), accuracy);
        std::printf("%s %.9g %.9g %.9g %.9g\n", tags[i].c_str(), distances[0], distances[1],
            distances[2], accuracy);
    }
    if (!score.recognized()) {
        std::puts("result none");
        return 1;
    }
    std::printf("result %d %d\n", score.winner(), score.percentage());
    return 0;
}

// A tag's recording and cache: its path with ".tag" replaced.
std::u16string beside_tag(const std::string& tag, const char* extension)
{
    std::string base = tag.ends_with(".tag") ? tag.substr(0, tag.size() - 4) : tag;
    return platform::from_utf8(base + extension);
}

// The precise matching: every tag's warping distance and the distance its
// fellow tags set for it, then the verdict.
int match_precise(const Capture& capture, const std::vector<std::string>& tags)
{
    std::vector<CepstralFrames> frames;
    std::vector<int> positions;
    for (std::size_t i = 0; i < tags.size(); ++i) {
        auto loaded
            = load_tag_cepstra(beside_tag(tags[i], ".wav"), beside_tag(tags[i], ".cepstra"));
        if (!loaded)
            continue;
        frames.push_back(std::move(*loaded));
        positions.push_back(static_cast<int>(i));
    }
    PreciseMatcher matcher(std::move(frames));
    const CepstralFrames utterance
        = analyse_utterance_cepstra(capture.data(), capture.samples.size());
    std::vector<float> distances
        = utterance.empty() ? std::vector<float>() : matcher.distances(utterance);
    for (std::size_t i = 0, used = 0; i < tags.size(); ++i) {
        if (used < positions.size() && positions[used] == static_cast<int>(i)) {
            const float distance = distances.empty() ? WarpingDistance::UNUSABLE : distances[used];
            std::printf("%s %.9g %.9g\n", tags[i].c_str(), distance,
                matcher.reference_distance(static_cast<int>(used)));
            ++used;
        } else {
            std::printf("%s unusable\n", tags[i].c_str());
        }
    }
    const PreciseMatch match = matcher.judge(distances);
    if (match.verdict == MatchVerdict::None || match.index < 0) {
        std::puts("result none");
        return 1;
    }
    std::printf("result %d %d%s\n", positions[match.index] + 1, match.percentage(),
        match.verdict == MatchVerdict::Unsure ? " unsure" : "");
    return 0;
}

// Removes "--engine NAME" from `arguments` into `engine`; false when the
// option lacks its value or names no engine.
bool take_engine(std::vector<std::string>& arguments, std::string& engine)
{
    auto found = std::find(arguments.begin(), arguments.end(), "--engine");
    if (found == arguments.end())
        return true;
    if (found + 1 == arguments.end())
        return false;
    engine = *(found + 1);
    arguments.erase(found, found + 2);
    return engine == "classic" || engine == "precise";
}

} // namespace

int run_match(const std::vector<std::string>& arguments_in)
{
    std::vector<std::string> arguments = arguments_in;
    bool keep_lead_in = take_no_lead_in(arguments);
    std::string engine = "classic";
    bool usable = take_engine(arguments, engine) && arguments.size() >= 2;
    for (auto& argument : arguments)
        usable = usable && !argument.starts_with("--");
    if (!usable) {
        std::fputs("usage: ringwise-tool match [--engine classic|precise] IN.wav TAG... "
                   "[--no-lead-in]\n",
            stderr);
        return 2;
    }
    auto capture = load_capture(arguments[0], !keep_lead_in);
    if (!capture)
        return 2;
    std::vector<std::string> tags(arguments.begin() + 1, arguments.end());
    return engine == "precise" ? match_precise(*capture, tags) : match_classic(*capture, tags);
}

} // namespace tool
