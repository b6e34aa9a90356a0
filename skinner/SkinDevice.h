#pragma once

#include "skinner/SkinValues.h"

#include <string>

namespace skinner {

// What a skin needs to know of the device at load: its family (a skin's
// devices field names "S" for Smartphone and "P" for Pocket PC) and whether
// the application is in full-screen mode (no system bars in the work area).
struct SkinDevice {
    bool smartphone { false };
    bool fullscreen { false };

    // The device the program runs on: the platform type RINGWISE_PLATFORM
    // ("Smartphone", any letter case, or else a Pocket PC), not full screen.
    static SkinDevice current();

    // Whether a devices text suits the device: empty, or it holds "S" on a
    // Smartphone and "P" on any other device.
    bool suits(const std::u16string& devices) const;
    // The work area of a screen: less the top and bottom bars.
    Point workarea(Point screen) const;
};

} // namespace skinner
