#pragma once

#include "os/Finder.h"

#include <string>
#include <vector>

namespace os {

// Collects the paths of the files a walk finds.
class FileFinder : public Finder {
public:
    bool on_file(const std::u16string& path) override;

    std::vector<std::u16string> files;
};

} // namespace os
