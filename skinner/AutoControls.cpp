#include "skinner/AutoControls.h"

#include "os/Log.h"
#include "skinner/Control.h"

#include <map>

namespace skinner {

namespace {

std::map<std::u16string, AutoControlMaker>& makers()
{
    static std::map<std::u16string, AutoControlMaker> table;
    return table;
}

} // namespace

void set_auto_control_maker(const std::u16string& type, AutoControlMaker maker)
{
    if (maker)
        makers()[type] = maker;
    else
        makers().erase(type);
}

std::unique_ptr<Control> make_auto_control(Container& container, const AutoControl& entry)
{
    auto found = makers().find(entry.type);
    if (found == makers().end()) {
        os::log() << u"Auto control {" << entry.id << u"} of type {" << entry.type
                  << u"} not created\n";
        return nullptr;
    }
    return found->second(container, entry.id);
}

} // namespace skinner
