#pragma once

#include "engine/precise/CepstralFrames.h"

#include <optional>
#include <string>

// The precise matching's frames of one tag, from its cache file when that
// was made from the recording as it is now, else analysed afresh from the
// recording and written to the cache (a cache that cannot be written is
// not an error). Nothing when the recording is missing, not in the capture
// format, or too short to analyse.
std::optional<CepstralFrames> load_tag_cepstra(
    const std::u16string& recording_path, const std::u16string& cache_path);
