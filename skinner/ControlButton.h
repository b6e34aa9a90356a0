#pragma once

#include "skinner/ControlButtonBase.h"

namespace skinner {

// The plain skinned push button.
class ControlButton : public ControlButtonBase {
public:
    using ControlButtonBase::ControlButtonBase;
    const char* class_name() const override { return "ControlButton"; }
};

} // namespace skinner
