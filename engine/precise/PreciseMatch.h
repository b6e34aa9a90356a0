#pragma once

// How sure the precise matching is of its best tag.
enum class MatchVerdict {
    // The best tag is clearly the word: the program dials at once.
    Sure,
    // The best tag is likely but doubtful: the program asks for
    // confirmation first, as with the "wait_confirmation" setting.
    Unsure,
    // No tag is close enough: the word is rejected.
    None,
};

// The outcome of one precise recognition.
struct PreciseMatch {
    MatchVerdict verdict = MatchVerdict::None;
    // The best tag's index among the matcher's tags, also when the word is
    // rejected; -1 without tags or speech.
    int index = -1;
    // The accuracy shown to the user, 0 … 100: 0 at the rejection boundary
    // and beyond, 100 for an utterance far closer to its tag than to any
    // other (within 0.4 of the others' mean distance).
    float accuracy = 0.0f;
    // The best and second best warping distances (the second is the
    // best's when there is one tag only), and the mean over all tags.
    float best_distance = 0.0f;
    float second_distance = 0.0f;
    float mean_distance = 0.0f;
    // The best distance over the distance the tags themselves set for it.
    float relative_distance = 0.0f;
    // The best distance over the mean of the other tags' distances; 0 with
    // fewer than three tags.
    float cohort_ratio = 0.0f;

    // The percentage shown: the accuracy truncated toward zero.
    int percentage() const { return static_cast<int>(accuracy); }
};
