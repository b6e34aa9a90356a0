#include "engine/FeatureExtraction.h"
#include "engine/Matcher.h"
#include "engine/Scoring.h"
#include "engine/SpeechEngine.h"
#include "engine/TagFile.h"
#include "platform/Convert.h"
#include "tools/ringwise-tool/ToolCapture.h"
#include "tools/ringwise-tool/ToolCommand.h"

#include <cstdio>

namespace tool {

// Compares a recording with voice tags as the recognition run does: every
// tag's distances over its three variants and its accuracy, then the winner
// (the first of the highest accuracies above 0) or none.
int run_match(const std::vector<std::string>& arguments_in)
{
    std::vector<std::string> arguments = arguments_in;
    bool keep_lead_in = take_no_lead_in(arguments);
    bool usable = arguments.size() >= 2;
    for (auto& argument : arguments)
        usable = usable && !argument.starts_with("--");
    if (!usable) {
        std::fputs("usage: ringwise-tool match IN.wav TAG... [--no-lead-in]\n", stderr);
        return 2;
    }
    auto capture = load_capture(arguments[0], !keep_lead_in);
    if (!capture)
        return 2;

    SpeechEngine engine;
    FeatureSet utterance = extract_utterance(capture->data(), capture->byte_count());
    RecognitionScore score;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        VoiceTemplate voice = read_template(platform::from_utf8(arguments[i]));
        float distances[3];
        float best = 0;
        for (int v = 0; v < 3; ++v) {
            distances[v] = compare(engine, voice.variant(v), utterance);
            if (v == 0 || distances[v] < best)
                best = distances[v];
        }
        float accuracy = accuracy_of(best, voice.threshold());
        score.offer_accuracy(static_cast<int>(i), accuracy);
        std::printf("%s %.9g %.9g %.9g %.9g\n", arguments[i].c_str(), distances[0], distances[1],
            distances[2], accuracy);
    }
    if (!score.recognized()) {
        std::puts("result none");
        return 1;
    }
    std::printf("result %d %d\n", score.winner(), score.percentage());
    return 0;
}

} // namespace tool
