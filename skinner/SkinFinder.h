#pragma once

#include "os/Finder.h"
#include "skinner/SkinDevice.h"
#include "skinner/SkinValues.h"

#include <set>
#include <string>
#include <vector>

namespace skinner {

// Finds the skins that suit a program and a screen: every "*.skin" file in a
// directory tree (or a single file), directly in "%windows%", and in the
// directory named by the default value of every subkey of a registry key.
// The walk runs in the constructor; `skins` lists what fits, in the order
// found.
class SkinFinder : public os::Finder {
public:
    struct Found {
        std::u16string path;
        std::u16string name; // the file title
    };

    SkinFinder(const std::u16string& directory, const std::u16string& product, Point screen,
        const std::u16string& registry_key, const SkinDevice& device = SkinDevice::current());

    bool on_file(const std::u16string& path) override;
    bool on_directory(const std::u16string& path) override;

    std::vector<Found> skins;

private:
    std::u16string directory_;
    std::u16string product_;
    Point screen_;
    SkinDevice device_;
    // Real paths of the directories being walked, so that a link back up
    // the tree does not make the walk endless.
    std::set<std::string> walking_;
};

} // namespace skinner
