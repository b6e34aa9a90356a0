#pragma once

#include "engine/precise/CepstralFrames.h"
#include "engine/precise/PreciseMatch.h"
#include "engine/precise/WarpingDistance.h"

#include <vector>

// The precise matching over a set of enrolled tags. Built once when the tags
// are loaded: it learns, from the tags themselves, how far apart different
// words lie (each tag's warping distance to its nearest other tag), and then
// judges each utterance against that scale, against the margin to the second
// best tag and against the utterance's mean distance to all tags. Used on one
// thread at a time.
class PreciseMatcher {
public:
    explicit PreciseMatcher(std::vector<CepstralFrames> tags);

    int tag_count() const { return static_cast<int>(tags_.size()); }
    // The distance the tags set for a match of tag `index`: its distance to
    // the nearest other tag, bounded by the set's median so that one
    // unusually close or lonely pair neither blocks nor loosens a tag. A lone
    // tag has its own spread instead (the mean distance of its frames from
    // their average), which comes close to the distance between two words
    // whatever the microphone and speaker.
    float reference_distance(int index) const { return references_[index]; }

    // Every tag's warping distance to the utterance, in tag order.
    std::vector<float> distances(const CepstralFrames& utterance);
    // The best tag and how sure the match is. No tags or an empty utterance
    // give verdict None and index -1.
    PreciseMatch match(const CepstralFrames& utterance);
    // The same judgement on distances already computed.
    PreciseMatch judge(const std::vector<float>& distances) const;

private:
    std::vector<CepstralFrames> tags_;
    std::vector<float> references_;
    WarpingDistance warping_;
};
