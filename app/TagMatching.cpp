#include "app/TagMatching.h"

#include "app/Document.h"
#include "engine/TagFile.h"

RecognitionScore match_tags(Document& document, const FeatureSet& utterance)
{
    RecognitionScore score;
    const CommandList& commands = document.commands();
    for (std::size_t i = 0; i < commands.size(); ++i) {
        if (!commands[i].has_tag())
            continue;
        VoiceTemplate voice = read_template(document.tag_path(commands[i].voice));
        score.offer(static_cast<int>(i), document.engine(), voice, utterance);
    }
    return score;
}
