#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

// What a hand-over carries: the text's length in bytes as a 32-bit word in
// the machine's own order (both ends run on one machine), then the text's
// UTF-16 code units. Longer texts than MAX_BYTES and odd lengths are refused.
inline constexpr std::uint32_t HAND_OVER_MAX_BYTES = 1 << 20;

// Reads one received hand-over piece by piece as it arrives, never holding
// more than the declared length (itself bounded) and never taking a byte
// beyond the message.
class HandOverReader {
public:
    enum class State { Reading, Done, Refused };

    // Takes bytes of the message; returns how many it used (fewer than
    // `size` only once the message is done or refused).
    std::size_t feed(const std::uint8_t* data, std::size_t size);

    State state() const { return state_; }
    // How many more bytes the message needs at least: the rest of the length
    // word, then the rest of the text (0 once done or refused).
    std::size_t wanted() const;
    // The text, complete once the state is Done.
    const std::u16string& text() const { return text_; }

private:
    State state_ { State::Reading };
    std::uint8_t header_[4] {};
    std::size_t header_got_ { 0 };
    std::uint32_t bytes_ { 0 };
    std::size_t text_got_ { 0 };
    std::u16string text_;
};

} // namespace platform
