#pragma once

#include "os/FileFinder.h"

namespace os {

// Collects the files that go into a chunk archive.
class ChunkFileFinder : public FileFinder { };

} // namespace os
