#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform::detail {

// One condition of a script's wait-until on a field of a control's dump
// line: FIELD=VALUE (exactly that), FIELD!=VALUE (the field is there with
// another value) or FIELD~=TEXT (the value contains the text).
struct ScriptCondition {
    enum class Test { Equals, Differs, Contains };
    std::string field;
    Test test { Test::Equals };
    std::string value;

    // Null when the word is no condition (no field name before the sign).
    static std::optional<ScriptCondition> parse(std::string_view word);
    bool holds(std::string_view fields) const;
    // As written in the script.
    std::string text() const;
};

// The fields of the dump line of the control with that id ("visible=1
// enabled=1 focused=0 text=..."): on the active form, else on the first
// other form that has one; null when no live form has it.
std::optional<std::string> control_fields(std::string_view dump, std::string_view id);

// A field's value in a control's fields: up to the next blank, except for
// the texts (text, selected_text), which run to the end of the line.
std::optional<std::string_view> field_value(std::string_view fields, std::string_view name);

} // namespace platform::detail
