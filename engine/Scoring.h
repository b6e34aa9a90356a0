#pragma once

#include "engine/FeatureSet.h"
#include "engine/SpeechEngine.h"
#include "engine/VoiceTemplate.h"

// The recognition run's arithmetic, in single precision.

// 100 − (distance ÷ threshold) × 100, each step rounded to float. A threshold
// of 0 gives a non-finite or negative result that never wins.
float accuracy_of(float distance, float threshold);

// The smallest compare() distance over the template's three variants; ties go
// to the lower variant, whose index is stored in `variant_out` when given.
float template_distance(SpeechEngine& engine, const VoiceTemplate& handle,
    const FeatureSet& utterance, int* variant_out = nullptr);

// Picks the winner among the tagged entries of a run. Offer the entries in
// list order; an entry wins only with an accuracy strictly above every earlier
// one (and above 0), so of equal accuracies the earlier entry keeps the lead.
class RecognitionScore {
public:
    // Scores `handle` against the utterance, records the entry if it leads,
    // and returns its accuracy.
    float offer(
        int entry, SpeechEngine& engine, const VoiceTemplate& handle, const FeatureSet& utterance);
    // Records an already computed accuracy for `entry`.
    void offer_accuracy(int entry, float accuracy);

    bool recognized() const { return best_accuracy_ > 0.0f; }
    // The winning entry, -1 when none.
    int winner() const { return winner_; }
    float best_accuracy() const { return best_accuracy_; }
    // The "Accuracy" percentage shown: the best accuracy truncated toward zero.
    int percentage() const { return static_cast<int>(best_accuracy_); }

private:
    int winner_ = -1;
    float best_accuracy_ = 0.0f;
};
