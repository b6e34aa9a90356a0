#include "engine/SpeechEngine.h"

#include "engine/Transform.h"

#include <algorithm>
#include <iterator>

SpeechEngine::SpeechEngine()
{
    twiddle_tables();
}

bool SpeechEngine::workspace_is_clear() const
{
    return std::all_of(
        std::begin(workspace_), std::end(workspace_), [](std::int32_t v) { return v == 0; });
}
