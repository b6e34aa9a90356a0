// Receives arbitrary bytes as a hand-over from a later process, in pieces of
// a size the first byte chooses, as a socket may deliver them: the reader
// must never take a byte beyond the message, must hand over exactly the text
// the message declared, and the settings form's reading of the command line
// as a contact's number must never fail on what it gets.
#include "app/CommandLineNumber.h"
#include "platform/HandOverMessage.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    // 0 delivers the rest at once; otherwise pieces of 1 to 255 bytes.
    std::size_t piece = data[0] == 0 ? size : data[0];
    const std::uint8_t* message = data + 1;
    std::size_t length = size - 1;

    using State = platform::HandOverReader::State;
    platform::HandOverReader reader;
    std::size_t at = 0;
    while (at < length && reader.state() == State::Reading) {
        std::size_t offered = std::min(piece, length - at);
        std::size_t wanted = reader.wanted();
        std::size_t used = reader.feed(message + at, offered);
        if (used > offered || used < std::min(offered, wanted))
            std::abort();
        if (used < offered && reader.state() == State::Reading)
            std::abort();
        at += used;
    }
    if ((reader.wanted() == 0) != (reader.state() != State::Reading))
        std::abort();
    if (reader.state() == State::Refused && at > sizeof(std::uint32_t))
        std::abort();
    if (reader.state() != State::Done)
        return 0;

    std::uint32_t declared;
    std::memcpy(&declared, message, sizeof declared);
    const std::u16string& text = reader.text();
    if (at != sizeof declared + declared || text.size() * 2 != declared
        || declared > platform::HAND_OVER_MAX_BYTES
        || std::memcmp(text.data(), message + sizeof declared, declared) != 0)
        std::abort();

    if (auto number = parse_command_line_number(text)) {
        if (text.find_first_of(u"0123456789") == std::u16string::npos)
            std::abort();
    }
    return 0;
}
