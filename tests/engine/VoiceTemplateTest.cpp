#include "engine/VoiceTemplate.h"

#include <gtest/gtest.h>

namespace {

std::array<FeatureSet, 3> variants_of(std::int32_t count)
{
    std::array<FeatureSet, 3> variants;
    for (FeatureSet& set : variants) {
        set.allocate(count);
        set.allocate_normalized();
        set.segment_count = 1;
        set.segment_end[0] = count;
    }
    return variants;
}

} // namespace

TEST(VoiceTemplate, HandleWithoutTemplateAnswersZeroAndEmptyVariants)
{
    VoiceTemplate none;
    EXPECT_FALSE(none.has_template());
    EXPECT_EQ(none.threshold(), 0.0f);
    for (int v : { -1, 0, 1, 2, 3 })
        EXPECT_TRUE(none.variant(v).empty());
}

TEST(VoiceTemplate, TakesOverTheVariantsAndSharesThemBetweenCopies)
{
    auto variants = variants_of(7);
    const std::int32_t* frames = variants[1].frames.get();
    VoiceTemplate tag(NEW_TEMPLATE_THRESHOLD, std::move(variants));
    EXPECT_TRUE(variants[1].empty());
    EXPECT_EQ(tag.variant(1).frames.get(), frames);
    EXPECT_EQ(tag.threshold(), 0.2f);

    VoiceTemplate copy = tag;
    tag.release();
    EXPECT_FALSE(tag.has_template());
    // The copy still holds the template: its arrays are alive (ASan would tell).
    EXPECT_EQ(copy.variant(1).frames.get(), frames);
    EXPECT_EQ(copy.variant(1).frames[4 * 7 - 1], 0);

    VoiceTemplate other(0.5f, variants_of(3));
    copy = other; // releases the last reference to the first template
    EXPECT_EQ(copy.threshold(), 0.5f);
    copy = copy;
    EXPECT_EQ(copy.variant(0).count, 3);
    VoiceTemplate moved = std::move(copy);
    EXPECT_FALSE(copy.has_template());
    EXPECT_EQ(moved.variant(2).count, 3);
}

TEST(FeatureSet, MovingHandsOverOwnershipAndResetClearsEverything)
{
    FeatureSet set;
    set.allocate(5);
    set.allocate_normalized();
    set.segment_count = 2;
    set.segment_start[1] = 3;
    set.segment_end[0] = 2;
    FeatureSet taken = std::move(set);
    EXPECT_EQ(set.count, 0);
    EXPECT_EQ(set.segment_count, 0);
    EXPECT_FALSE(set.frames);
    EXPECT_EQ(taken.count, 5);
    EXPECT_EQ(taken.segment_start[1], 3);

    FeatureSet copy = taken.clone();
    EXPECT_NE(copy.frames.get(), taken.frames.get());
    EXPECT_EQ(copy.segment_end[0], 2);

    taken.reset();
    EXPECT_TRUE(taken.empty());
    EXPECT_FALSE(taken.normalized);
    EXPECT_EQ(taken.segment_start[1], 0);
    EXPECT_EQ(taken.segment_end[0], 0);
}
