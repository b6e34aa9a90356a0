#include "app/PreciseRecognizer.h"
#include "app/CommandStore.h"
#include "app/TagCepstra.h"
#include "engine/precise/CepstralAnalysis.h"
#include "tests/engine/Recordings.h"
#include "tests/support/TempDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace test_recordings;

namespace {

class PreciseRecognizerOfAStore : public ::testing::Test {
protected:
    void SetUp() override
    {
        // An untagged command first: results must name list positions.
        Command untagged;
        untagged.id = 1;
        untagged.name = u"Nobody";
        store.add_command(untagged);
        const char* words[] = { "doctor-lee", "margaret-slow", "home-phone", "office-slow" };
        for (int i = 0; i < 4; ++i) {
            Command command;
            command.id = 10 + i;
            command.name = std::u16string(u"Tag ") + char16_t(u'A' + i);
            ASSERT_TRUE(store.train_tag(command, capture(load(words[i]))));
            store.add_command(command);
        }
    }

    PreciseRecognizer recognizer() const
    {
        return PreciseRecognizer(
            store.commands(), [this](const std::u16string& v) { return store.recording_path(v); },
            [this](const std::u16string& v) { return store.cache_path(v); });
    }

    TempDirectory temp;
    CommandStore store { temp.wide("commands") };
};

TEST_F(PreciseRecognizerOfAStore, NamesTheCommandOfTheSpokenWord)
{
    PreciseRecognizer precise = recognizer();
    EXPECT_EQ(precise.tag_count(), 4);
    const PreciseRecognition office = precise.recognize(capture(load("office-fast")));
    EXPECT_EQ(office.command, 4);
    ASSERT_NE(office.verdict, MatchVerdict::None);
    EXPECT_EQ(office.percentage(), static_cast<int>(office.accuracy));
    const PreciseRecognition margaret = precise.recognize(capture(load("margaret-fast"), 3000));
    EXPECT_EQ(margaret.command, 2);

    const PreciseRecognition nothing = precise.recognize(std::vector<std::int16_t>());
    EXPECT_EQ(nothing.verdict, MatchVerdict::None);
    EXPECT_EQ(nothing.command, -1);
}

TEST(PreciseRecognition, AsksFirstWhenUnsureOrWhenTheUserWantsTo)
{
    PreciseRecognition result;
    result.verdict = MatchVerdict::Sure;
    EXPECT_FALSE(result.needs_confirmation(false));
    EXPECT_TRUE(result.needs_confirmation(true));
    result.verdict = MatchVerdict::Unsure;
    EXPECT_TRUE(result.needs_confirmation(false));
    result.verdict = MatchVerdict::None;
    EXPECT_FALSE(result.needs_confirmation(true));
}

TEST_F(PreciseRecognizerOfAStore, TheCacheIsWrittenAndNeverOutranksTheRecording)
{
    const Command& office = store.commands()[4];
    const std::u16string recording = store.recording_path(office.voice);
    const std::u16string cache = store.cache_path(office.voice);
    EXPECT_FALSE(std::filesystem::exists(cache));
    const auto fresh = load_tag_cepstra(recording, cache);
    ASSERT_TRUE(fresh);
    ASSERT_TRUE(std::filesystem::exists(cache));
    const auto cached = load_tag_cepstra(recording, cache);
    ASSERT_TRUE(cached);
    EXPECT_EQ(cached->values, fresh->values);

    // A damaged cache is rebuilt to the same frames.
    std::filesystem::resize_file(std::filesystem::path(cache), 30);
    const auto rebuilt = load_tag_cepstra(recording, cache);
    ASSERT_TRUE(rebuilt);
    EXPECT_EQ(rebuilt->values, fresh->values);

    // A recording replaced by another word makes the cache stale.
    std::filesystem::copy_file(
        std::filesystem::path(store.recording_path(store.commands()[3].voice)),
        std::filesystem::path(recording), std::filesystem::copy_options::overwrite_existing);
    const auto other = load_tag_cepstra(recording, cache);
    ASSERT_TRUE(other);
    EXPECT_NE(other->values, fresh->values);

    // Without its recording a cache decides nothing.
    std::filesystem::remove(std::filesystem::path(recording));
    EXPECT_FALSE(load_tag_cepstra(recording, cache));
}

TEST_F(PreciseRecognizerOfAStore, DeletingATagDeletesItsCache)
{
    recognizer();
    Command& office = store.commands()[4];
    const std::u16string cache = store.cache_path(office.voice);
    ASSERT_TRUE(std::filesystem::exists(cache));
    store.delete_tag(office);
    EXPECT_FALSE(std::filesystem::exists(cache));
}

} // namespace
