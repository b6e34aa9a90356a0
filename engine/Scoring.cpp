#include "engine/Scoring.h"

#include "engine/Matcher.h"

float accuracy_of(float distance, float threshold)
{
    // Each step is rounded to single precision on its own (the engine is
    // built without contraction, so no fused multiply-add merges them).
    const float ratio = distance / threshold;
    const float percent = ratio * 100.0f;
    return 100.0f - percent;
}

float template_distance(SpeechEngine& engine, const VoiceTemplate& handle,
    const FeatureSet& utterance, int* variant_out)
{
    float best = 0.0f;
    int best_variant = 0;
    for (int v = 0; v < 3; ++v) {
        const float distance = compare(engine, handle.variant(v), utterance);
        if (v == 0 || distance < best) {
            best = distance;
            best_variant = v;
        }
    }
    if (variant_out)
        *variant_out = best_variant;
    return best;
}

float RecognitionScore::offer(
    int entry, SpeechEngine& engine, const VoiceTemplate& handle, const FeatureSet& utterance)
{
    const float accuracy
        = accuracy_of(template_distance(engine, handle, utterance), handle.threshold());
    offer_accuracy(entry, accuracy);
    return accuracy;
}

void RecognitionScore::offer_accuracy(int entry, float accuracy)
{
    // Strictly greater: an equal accuracy leaves the earlier entry in front,
    // and NaN never leads.
    if (accuracy > best_accuracy_) {
        best_accuracy_ = accuracy;
        winner_ = entry;
    }
}
