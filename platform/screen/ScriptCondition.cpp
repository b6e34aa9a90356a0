#include "platform/screen/ScriptCondition.h"

#include <algorithm>
#include <vector>

namespace platform::detail {

namespace {

bool is_name_character(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

std::vector<std::string_view> leading_words(
    std::string_view line, std::size_t count, std::size_t& end)
{
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while (words.size() < count) {
        at = line.find_first_not_of(' ', at);
        if (at == std::string_view::npos)
            break;
        std::size_t stop = line.find(' ', at);
        if (stop == std::string_view::npos)
            stop = line.size();
        words.push_back(line.substr(at, stop - at));
        at = stop;
    }
    end = std::min(at, line.size());
    return words;
}

} // namespace

std::optional<ScriptCondition> ScriptCondition::parse(std::string_view word)
{
    std::size_t sign = word.find('=');
    if (sign == std::string_view::npos)
        return std::nullopt;
    ScriptCondition condition;
    std::size_t name_end = sign;
    if (sign > 0 && (word[sign - 1] == '!' || word[sign - 1] == '~')) {
        condition.test = word[sign - 1] == '!' ? Test::Differs : Test::Contains;
        --name_end;
    }
    condition.field = std::string(word.substr(0, name_end));
    if (condition.field.empty())
        return std::nullopt;
    for (char c : condition.field) {
        if (!is_name_character(c))
            return std::nullopt;
    }
    condition.value = std::string(word.substr(sign + 1));
    return condition;
}

bool ScriptCondition::holds(std::string_view fields) const
{
    auto shown = field_value(fields, field);
    if (!shown)
        return false;
    switch (test) {
    case Test::Equals:
        return *shown == value;
    case Test::Differs:
        return *shown != value;
    case Test::Contains:
        return shown->find(value) != std::string_view::npos;
    }
    return false;
}

std::string ScriptCondition::text() const
{
    const char* sign = test == Test::Equals ? "=" : test == Test::Differs ? "!=" : "~=";
    return field + sign + value;
}

std::optional<std::string_view> field_value(std::string_view fields, std::string_view name)
{
    std::size_t at = 0;
    while (at < fields.size()) {
        std::size_t end = fields.find(' ', at);
        if (end == std::string_view::npos)
            end = fields.size();
        std::string_view word = fields.substr(at, end - at);
        std::size_t sign = word.find('=');
        if (sign != std::string_view::npos) {
            std::string_view field = word.substr(0, sign);
            bool text = field == "text" || field == "selected_text";
            if (text)
                end = fields.size();
            if (field == name)
                return fields.substr(at + sign + 1, end - at - sign - 1);
        }
        at = end + 1;
    }
    return std::nullopt;
}

std::optional<std::string> control_fields(std::string_view dump, std::string_view id)
{
    std::optional<std::string> found;
    bool active = false;
    std::size_t at = 0;
    while (at < dump.size()) {
        std::size_t end = dump.find('\n', at);
        if (end == std::string_view::npos)
            end = dump.size();
        std::string_view line = dump.substr(at, end - at);
        at = end + 1;
        std::size_t rest = 0;
        if (line.starts_with("form ")) {
            auto words = leading_words(line, 3, rest);
            active = words.size() == 3 && words[2] == "active";
            continue;
        }
        // control ID CLASS X Y W H, then the fields.
        auto words = leading_words(line, 7, rest);
        if (words.size() < 7 || words[0] != "control" || words[1] != id)
            continue;
        std::string_view fields = line.substr(rest);
        if (!fields.empty() && fields[0] == ' ')
            fields.remove_prefix(1);
        if (active)
            return std::string(fields);
        if (!found)
            found = std::string(fields);
    }
    return found;
}

} // namespace platform::detail
