#pragma once

#include "app/Command.h"
#include "engine/precise/PreciseMatch.h"
#include "engine/precise/PreciseMatcher.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// What a recognition run in the precise mode does with an utterance.
struct PreciseRecognition {
    // Sure: dial the command at once (or after confirmation when the user
    // asked for "wait_confirmation"). Unsure: show the command and go to the
    // confirmation step whatever that setting says. None: the word is
    // rejected; nothing is dialled and the run asks again.
    MatchVerdict verdict = MatchVerdict::None;
    // Index into the document's command list; -1 with verdict None.
    int command = -1;
    // The accuracy to show, 0 … 100, and as the truncated percentage.
    float accuracy = 0.0f;
    int percentage() const { return static_cast<int>(accuracy); }

    // Whether the run must ask before dialling.
    bool needs_confirmation(bool wait_confirmation) const
    {
        return verdict == MatchVerdict::Unsure
            || (verdict == MatchVerdict::Sure && wait_confirmation);
    }
};

// The precise matching over the tagged commands of a command list, built
// when the tags are loaded (each tag's frames come from its recording, or
// from the cache beside it). Lives on the user-interface thread.
class PreciseRecognizer {
public:
    // `recording_of` and `cache_of` give a voice name's file paths. A tagged
    // command whose recording cannot be analysed takes no part.
    PreciseRecognizer(const CommandList& commands,
        const std::function<std::u16string(const std::u16string&)>& recording_of,
        const std::function<std::u16string(const std::u16string&)>& cache_of);

    // The tags that take part.
    int tag_count() const { return matcher_.tag_count(); }

    // Matches a capture (its samples after the lead-in) against the tags.
    PreciseRecognition recognize(const std::vector<std::int16_t>& samples);

private:
    static std::vector<CepstralFrames> load_tags(const CommandList& commands,
        const std::function<std::u16string(const std::u16string&)>& recording_of,
        const std::function<std::u16string(const std::u16string&)>& cache_of,
        std::vector<int>& entries);

    std::vector<int> entries_;
    PreciseMatcher matcher_;
};
