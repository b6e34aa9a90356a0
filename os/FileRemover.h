#pragma once

#include "os/Finder.h"

namespace os {

// Deletes every file a walk finds; directories stay.
class FileRemover : public Finder {
public:
    bool on_file(const std::u16string& path) override;
};

} // namespace os
