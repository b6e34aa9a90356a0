#include "engine/VoiceTemplate.h"

#include "liba/Atomic.h"

#include <utility>

struct VoiceTemplate::Block {
    std::int32_t references = 1;
    float threshold = 0.0f;
    std::array<FeatureSet, 3> variants;
};

namespace {

const FeatureSet& empty_set()
{
    static const FeatureSet empty;
    return empty;
}

} // namespace

VoiceTemplate::VoiceTemplate(float threshold, std::array<FeatureSet, 3>&& variants)
    : block_(new Block)
{
    block_->threshold = threshold;
    block_->variants = std::move(variants);
}

VoiceTemplate::VoiceTemplate(const VoiceTemplate& other)
    : block_(other.block_)
{
    if (block_)
        liba::atomic_increment(&block_->references);
}

VoiceTemplate& VoiceTemplate::operator=(const VoiceTemplate& other)
{
    if (block_ == other.block_)
        return *this;
    release();
    block_ = other.block_;
    if (block_)
        liba::atomic_increment(&block_->references);
    return *this;
}

VoiceTemplate::VoiceTemplate(VoiceTemplate&& other) noexcept
    : block_(std::exchange(other.block_, nullptr))
{
}

VoiceTemplate& VoiceTemplate::operator=(VoiceTemplate&& other) noexcept
{
    if (this != &other) {
        release();
        block_ = std::exchange(other.block_, nullptr);
    }
    return *this;
}

VoiceTemplate::~VoiceTemplate()
{
    release();
}

void VoiceTemplate::release()
{
    Block* block = std::exchange(block_, nullptr);
    if (block && liba::atomic_decrement(&block->references) == 0)
        delete block;
}

float VoiceTemplate::threshold() const
{
    return block_ ? block_->threshold : 0.0f;
}

const FeatureSet& VoiceTemplate::variant(int v) const
{
    if (!block_ || v < 0 || v >= 3)
        return empty_set();
    return block_->variants[v];
}
