#pragma once

namespace platform {

// The screen's system cursors. None means the element sets no cursor of
// its own (the screen then shows the arrow).
enum class SystemCursor {
    None,
    Arrow,
    Hand,
    IBeam,
    SizeNESW,
    SizeNS,
    SizeNWSE,
    SizeWE,
    SizeAll,
    Wait,
    No,
    Help,
    AppStarting,
};

} // namespace platform
