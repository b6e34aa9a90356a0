#include "platform/HandOverMessage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

using platform::HandOverReader;
using State = HandOverReader::State;

std::vector<std::uint8_t> message(std::uint32_t declared, const std::u16string& text)
{
    std::vector<std::uint8_t> bytes(sizeof declared + text.size() * 2);
    std::memcpy(bytes.data(), &declared, sizeof declared);
    std::memcpy(bytes.data() + sizeof declared, text.data(), text.size() * 2);
    return bytes;
}

TEST(HandOverReaderTest, ReadsTheTextWhateverPiecesItArrivesIn)
{
    std::u16string text = u"  17 Jana Nov\u00e1kov\u00e1";
    std::vector<std::uint8_t> bytes = message(static_cast<std::uint32_t>(text.size() * 2), text);
    for (std::size_t piece : { std::size_t { 1 }, std::size_t { 3 }, bytes.size() }) {
        HandOverReader reader;
        std::size_t at = 0;
        while (reader.state() == State::Reading) {
            ASSERT_LT(at, bytes.size()) << piece;
            at += reader.feed(bytes.data() + at, std::min(piece, bytes.size() - at));
        }
        EXPECT_EQ(reader.state(), State::Done) << piece;
        EXPECT_EQ(reader.text(), text) << piece;
        EXPECT_EQ(at, bytes.size()) << piece;
        EXPECT_EQ(reader.wanted(), 0u);
    }
}

TEST(HandOverReaderTest, TakesNothingBeyondTheMessageAndAnEmptyTextIsDone)
{
    std::vector<std::uint8_t> bytes = message(4, u"ab");
    bytes.push_back(0x41);
    HandOverReader reader;
    EXPECT_EQ(reader.wanted(), 4u);
    EXPECT_EQ(reader.feed(bytes.data(), 2), 2u);
    EXPECT_EQ(reader.wanted(), 2u);
    EXPECT_EQ(reader.feed(bytes.data() + 2, bytes.size() - 2), bytes.size() - 3);
    EXPECT_EQ(reader.state(), State::Done);
    EXPECT_EQ(reader.text(), u"ab");
    EXPECT_EQ(reader.feed(bytes.data(), bytes.size()), 0u);

    HandOverReader empty;
    std::vector<std::uint8_t> nothing = message(0, u"");
    EXPECT_EQ(empty.feed(nothing.data(), nothing.size()), 4u);
    EXPECT_EQ(empty.state(), State::Done);
    EXPECT_TRUE(empty.text().empty());
}

TEST(HandOverReaderTest, RefusesOddAndOversizedLengthsBeforeHoldingAnything)
{
    for (std::uint32_t declared : { 3u, platform::HAND_OVER_MAX_BYTES + 2, 0xFFFFFFFFu }) {
        std::vector<std::uint8_t> bytes = message(declared, u"abcd");
        HandOverReader reader;
        EXPECT_EQ(reader.feed(bytes.data(), bytes.size()), 4u) << declared;
        EXPECT_EQ(reader.state(), State::Refused) << declared;
        EXPECT_EQ(reader.wanted(), 0u) << declared;
        EXPECT_TRUE(reader.text().empty()) << declared;
    }
    // The largest allowed length is still read.
    HandOverReader largest;
    std::vector<std::uint8_t> header = message(platform::HAND_OVER_MAX_BYTES, u"");
    largest.feed(header.data(), header.size());
    EXPECT_EQ(largest.state(), State::Reading);
    EXPECT_EQ(largest.wanted(), platform::HAND_OVER_MAX_BYTES);
}

} // namespace
