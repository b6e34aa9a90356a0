#include "app/PreciseRecognizer.h"

#include "app/TagCepstra.h"
#include "engine/precise/CepstralAnalysis.h"

PreciseRecognizer::PreciseRecognizer(const CommandList& commands,
    const std::function<std::u16string(const std::u16string&)>& recording_of,
    const std::function<std::u16string(const std::u16string&)>& cache_of)
    : matcher_(load_tags(commands, recording_of, cache_of, entries_))
{
}

std::vector<CepstralFrames> PreciseRecognizer::load_tags(const CommandList& commands,
    const std::function<std::u16string(const std::u16string&)>& recording_of,
    const std::function<std::u16string(const std::u16string&)>& cache_of, std::vector<int>& entries)
{
    std::vector<CepstralFrames> tags;
    for (std::size_t i = 0; i < commands.size(); ++i) {
        const Command& command = commands[i];
        if (!command.has_tag())
            continue;
        std::optional<CepstralFrames> frames
            = load_tag_cepstra(recording_of(command.voice), cache_of(command.voice));
        if (!frames)
            continue;
        tags.push_back(std::move(*frames));
        entries.push_back(static_cast<int>(i));
    }
    return tags;
}

PreciseRecognition PreciseRecognizer::recognize(const std::vector<std::int16_t>& samples)
{
    PreciseRecognition result;
    const CepstralFrames utterance = analyse_utterance_cepstra(samples.data(), samples.size());
    const PreciseMatch match = matcher_.match(utterance);
    if (match.verdict == MatchVerdict::None || match.index < 0)
        return result;
    result.verdict = match.verdict;
    result.command = entries_[static_cast<std::size_t>(match.index)];
    result.accuracy = match.accuracy;
    return result;
}
