#include "skinner/ControlMenuMain.h"

#include "skinner/Form.h"
#include "skinner/Skin.h"

namespace skinner {

namespace {

ControlKind kind_for(Form& form, const std::u16string& id)
{
    return form.get_skin().has_node(form.kind(), id) ? ControlKind::Ordinary : ControlKind::NoSkin;
}

} // namespace

ControlMenuMain::ControlMenuMain(Form& form, std::u16string id)
    : Control(form, id, kind_for(form, id))
{
    set_focusable(false);
    form.register_menu_main(this);
}

ControlMenuMain::~ControlMenuMain()
{
    if (Form* owner = form())
        owner->unregister_menu_main(this);
}

void ControlMenuMain::popup_opening()
{
    container().on_menu_opening(*this);
}

} // namespace skinner
