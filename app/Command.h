#pragma once

#include "engine/VoiceTemplate.h"

#include <cstdint>
#include <string>
#include <vector>

// One dialable entry: a contact and one of its numbers, with the voice tag
// recorded for it, if any. A value type, copied freely; copies share the
// template.
struct Command {
    std::int32_t id { 0 };
    std::u16string name;
    std::u16string full_name;
    std::u16string phone;
    std::u16string phone_type;
    // Base name of the tag files in the commands folder; empty: no tag.
    std::u16string voice;
    // Set when the tag was trained in this process.
    VoiceTemplate voice_template;

    bool has_tag() const { return !voice.empty(); }

    // The same contact and number: equal ids and equal phone strings.
    bool same_entry(const Command& other) const { return id == other.id && phone == other.phone; }
};

// The document's commands in display order, which is also the order of
// commands.xml and the order in which a recognition tries the tags.
using CommandList = std::vector<Command>;

// a + separator + b when both are non-empty, else a + b.
std::u16string join(
    const std::u16string& a, const std::u16string& b, const std::u16string& separator);
