#pragma once

#include <string>

// The Contacts add-in's registration: the subkey "TarnRingwise" of the
// Contacts application's add-in key, whose "Dll" names the add-in library
// in the system folder (macros expanded) and whose "Menu" is the text of
// its menu entry. Failures are only logged, as "xxxxx" lines.
namespace setup {

// The key, as a full path.
std::u16string add_in_key();

// Writes "Dll", then "Menu"; true when both were set.
bool register_add_in();
// Deletes the key with its values.
bool unregister_add_in();

// Sets one string value of a key, creating the key when needed. Writes
// "xxxxx 0" before opening, "xxxxx 1" before setting, then "xxxxx 3" when
// the value was set or "xxxxx 2" when it was not.
bool set_string_value(
    const std::u16string& key, const std::u16string& value_name, const std::u16string& text);

} // namespace setup
