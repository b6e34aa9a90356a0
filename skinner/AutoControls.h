#pragma once

#include "skinner/SkinValues.h"

#include <memory>
#include <string>

namespace skinner {

class Container;
class Control;

// Makes the control of one automatic entry ("Auto.Button", "Auto.Frame",
// "Auto.Picture", "Auto.Panel") in a container, with the entry's id.
using AutoControlMaker
    = std::unique_ptr<Control> (*)(Container& container, const std::u16string& id);

// Installs the maker of a type (nullptr removes it); the standard controls
// install theirs.
void set_auto_control_maker(const std::u16string& type, AutoControlMaker maker);

// The control of an entry, or nullptr when its type has no maker: that is
// written to the log ("Auto control {id} of type {type} not created").
std::unique_ptr<Control> make_auto_control(Container& container, const AutoControl& entry);

} // namespace skinner
