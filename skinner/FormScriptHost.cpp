#include "skinner/FormScriptHost.h"

#include "platform/Convert.h"
#include "platform/Screen.h"
#include "platform/Window.h"
#include "skinner/Control.h"
#include "skinner/Form.h"

#include <string>

namespace skinner {

namespace {

Form* active_form()
{
    platform::WindowHandle active = platform::active_window();
    for (Form* form : Form::live_forms()) {
        if (form->window() && form->window() == active)
            return form;
    }
    return nullptr;
}

platform::Rect window_origin(const Form& form)
{
    return platform::window_rect(form.window()).value_or(platform::Rect {});
}

std::string rect_text(const platform::Rect& rect)
{
    return std::to_string(rect.left) + " " + std::to_string(rect.top) + " "
        + std::to_string(rect.width()) + " " + std::to_string(rect.height());
}

class FormScriptHost final : public platform::ScriptHost {
public:
    std::u16string active_form_kind() override
    {
        Form* form = active_form();
        return form ? form->kind() : std::u16string();
    }

    std::optional<platform::Rect> control_rect(const std::u16string& id) override
    {
        Form* form = active_form();
        if (!form)
            return std::nullopt;
        Control* control = form->find_control(id);
        if (!control || !control->is_visible())
            return std::nullopt;
        platform::Rect origin = window_origin(*form);
        return control->rect().translated(origin.left, origin.top);
    }

    bool command(const std::u16string& name) override
    {
        Form* form = active_form();
        if (!form)
            return false;
        // As a menu item raises it: the form hands it to the control of
        // that id first (a button of that id fires).
        form->on_command(name);
        return true;
    }

    std::string dump() override
    {
        std::string text;
        Form* active = active_form();
        for (Form* form : Form::live_forms()) {
            platform::Rect window = window_origin(*form);
            text += "form " + platform::to_utf8(form->kind()) + " "
                + (form == active ? "active" : "inactive") + " " + rect_text(window) + "\n";
            for (Control* control : form->controls()) {
                // Parts without an id (a grid's painter) are the control's own.
                if (control->id().empty())
                    continue;
                text += "control " + platform::to_utf8(control->id()) + " " + control->class_name()
                    + " " + rect_text(control->rect().translated(window.left, window.top))
                    + " visible=" + (control->is_visible() ? "1" : "0")
                    + " enabled=" + (control->is_enabled() ? "1" : "0")
                    + " focused=" + (control->has_focus() ? "1" : "0");
                std::string shown = control->describe();
                if (!shown.empty())
                    text += " " + shown;
                text += "\n";
            }
        }
        return text;
    }
};

} // namespace

void install_form_script_host()
{
    static FormScriptHost host;
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    platform::set_script_host(&host);
}

} // namespace skinner
