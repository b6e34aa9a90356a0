#pragma once

#include "engine/VoiceTemplate.h"
#include "liba/Stream.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The ".tag" file: threshold (float), then per variant: count, segment_start[3],
// segment_end[3], segment_count, count × 4 normalised 16-bit values and
// count × 4 32-bit band amplitudes. Little-endian, no header, no padding.

// The bytes of the file for a template; a handle without a template gives
// threshold 0 and three empty variants.
std::vector<std::uint8_t> serialize_template(const VoiceTemplate& handle);

// Writes the file's bytes to `stream`; false when the stream refused any of them.
bool write_template(const VoiceTemplate& handle, liba::StreamWriter& stream);

// Reads a ".tag" file. A file that cannot be opened, is truncated, has extra
// bytes, or holds implausible counts or segment indices gives a handle
// without a template.
VoiceTemplate read_template(const std::u16string& path);

// The same check and decoding on bytes already in memory.
VoiceTemplate parse_template(const std::uint8_t* bytes, std::size_t size);
