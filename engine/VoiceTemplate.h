#pragma once

#include "engine/FeatureSet.h"

#include <array>
#include <cstdint>

// Threshold of every template the program creates.
inline constexpr float NEW_TEMPLATE_THRESHOLD = 0.2f;

// A shared handle to a stored voice tag: a threshold and three prepared
// variants (frame steps 384, 406, 362). Copies share the template through a
// reference count; the last release frees it. A handle without a template
// answers threshold 0 and empty variants.
class VoiceTemplate {
public:
    VoiceTemplate() = default;
    // Builds a template that takes over the three variants.
    VoiceTemplate(float threshold, std::array<FeatureSet, 3>&& variants);
    VoiceTemplate(const VoiceTemplate& other);
    VoiceTemplate& operator=(const VoiceTemplate& other);
    VoiceTemplate(VoiceTemplate&& other) noexcept;
    VoiceTemplate& operator=(VoiceTemplate&& other) noexcept;
    ~VoiceTemplate();

    bool has_template() const { return block_ != nullptr; }
    explicit operator bool() const { return has_template(); }

    float threshold() const;
    // v = 0, 1, 2; an empty set for a handle without a template or v out of range.
    const FeatureSet& variant(int v) const;

    // Drops this handle's reference.
    void release();

private:
    struct Block;
    Block* block_ = nullptr;
};
