#pragma once

#include "platform/Screen.h"

#include <map>
#include <string>
#include <vector>

namespace test_support {

// A script host with one form kind, named control rectangles and a record
// of the commands it was given; "refused" is a command no form takes.
class FakeScriptHost : public platform::ScriptHost {
public:
    std::u16string kind { u"Main" };
    std::map<std::u16string, platform::Rect> controls;
    std::vector<std::u16string> commands;
    std::string dump_text { "form Main\n" };

    std::u16string active_form_kind() override { return kind; }
    std::optional<platform::Rect> control_rect(const std::u16string& id) override
    {
        auto found = controls.find(id);
        if (found == controls.end())
            return std::nullopt;
        return found->second;
    }
    bool command(const std::u16string& name) override
    {
        if (name == u"refused")
            return false;
        commands.push_back(name);
        return true;
    }
    std::string dump() override { return dump_text; }
};

} // namespace test_support
