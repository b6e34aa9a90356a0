#pragma once

#include "skinner/FontDescription.h"
#include "skinner/SkinValues.h"

#include <optional>
#include <string>
#include <vector>

namespace skinner {

class SkinDescription;
class SkinHeader;

// The list of names that follows a skin's header, one terminated string
// each: the names of the skin's pictures, then its font descriptions.
// Picture properties and font properties refer to them by index.
struct SkinNameList {
    std::vector<std::u16string> pictures;
    std::vector<std::u16string> fonts;

    // The list the header announces; nullopt when a name does not lie
    // inside the description.
    static std::optional<SkinNameList> read(
        const SkinDescription& description, const SkinHeader& header);

    // The pictures, each with the image that the installed picture loader
    // makes of its name at `scale` (null images while none is installed);
    // nullopt, logged, as soon as an image fails to load.
    std::optional<std::vector<SkinPicture>> load_pictures(
        const std::u16string& skin_path, int scale) const;
    std::vector<FontDescription> parse_fonts(int scale) const;
};

} // namespace skinner
