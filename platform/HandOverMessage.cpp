#include "platform/HandOverMessage.h"

#include <algorithm>
#include <cstring>

namespace platform {

std::size_t HandOverReader::wanted() const
{
    if (state_ != State::Reading)
        return 0;
    if (header_got_ < sizeof header_)
        return sizeof header_ - header_got_;
    return bytes_ - text_got_;
}

std::size_t HandOverReader::feed(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    std::size_t used = 0;
    if (state_ == State::Reading && header_got_ < sizeof header_) {
        std::size_t take = std::min(size, sizeof header_ - header_got_);
        std::memcpy(header_ + header_got_, data, take);
        header_got_ += take;
        used += take;
        if (header_got_ < sizeof header_)
            return used;
        std::memcpy(&bytes_, header_, sizeof bytes_);
        if (bytes_ > HAND_OVER_MAX_BYTES || bytes_ % 2 != 0) {
            state_ = State::Refused;
            return used;
        }
        text_.assign(bytes_ / 2, u'\0');
    }
    if (state_ == State::Reading) {
        std::size_t take = std::min(size - used, static_cast<std::size_t>(bytes_) - text_got_);
        if (take > 0)
            std::memcpy(
                reinterpret_cast<std::uint8_t*>(text_.data()) + text_got_, data + used, take);
        text_got_ += take;
        used += take;
        if (text_got_ == bytes_)
            state_ = State::Done;
    }
    return used;
}

} // namespace platform
