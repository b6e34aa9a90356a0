#pragma once

#include <cstdint>
#include <string>

// Where a prompt of a skin lies: the file to play and the byte offset at
// which its WAV image starts.
struct SkinSound {
    std::u16string path;
    std::uint32_t offset { 0 };
};

// The prompt `name` ("start.wav", "right.wav", "wrong.wav") of the skin
// loaded from `skin_path`: the first stored entry of that name (letter case
// ignored) when the skin is an archive, else the file of that name in the
// skin's folder.
SkinSound find_skin_sound(const std::u16string& skin_path, const std::u16string& name);
