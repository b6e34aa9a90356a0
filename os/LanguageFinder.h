#pragma once

#include "os/Finder.h"

#include <string>
#include <vector>

namespace os {

// Collects the language files (".lng") directly in a directory, the
// program's folder by default. Each language is shown under the key
// "Language_" + its file title.
class LanguageFinder : public Finder {
public:
    explicit LanguageFinder(const std::u16string& directory = u"%app_path%");

    bool on_file(const std::u16string& path) override;

    std::vector<std::u16string> languages;
};

} // namespace os
