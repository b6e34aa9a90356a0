#include "skinner/StandardControls.h"

#include "skinner/AutoControls.h"
#include "skinner/ControlButton.h"
#include "skinner/ControlFrame.h"
#include "skinner/ControlPanel.h"
#include "skinner/ControlPicture.h"

namespace skinner {

namespace {

template<typename T> std::unique_ptr<Control> make(Container& container, const std::u16string& id)
{
    return std::make_unique<T>(container, id);
}

} // namespace

void register_standard_controls()
{
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    set_auto_control_maker(u"Auto.Button", make<ControlButton>);
    set_auto_control_maker(u"Auto.Frame", make<ControlFrame>);
    set_auto_control_maker(u"Auto.Picture", make<ControlPicture>);
    set_auto_control_maker(u"Auto.Panel", make<ControlPanel>);
}

} // namespace skinner
