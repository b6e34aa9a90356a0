#pragma once

#include "liba/Nocopy.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace os {

enum class RegistryRoot {
    None,
    ClassesRoot,
    LocalMachine,
    Users,
    CurrentUser,
};

struct RegistryPath {
    RegistryRoot root { RegistryRoot::None };
    std::u16string subkey;
};

// Splits "HKEY_LOCAL_MACHINE\Software\..." into its root and the rest. The
// root names are matched exactly, with their case; a path that starts with
// none of them (an abbreviation such as "HKLM", or "HKEY_CURRENT_CONFIG")
// gives no root and an empty subkey, and every operation on it fails.
RegistryPath split_registry_path(std::u16string_view path);

// The full name of a root ("HKEY_CURRENT_USER"); empty for none.
std::u16string registry_root_name(RegistryRoot root);

// The readers open the key, creating it when it does not exist, so reading
// leaves the key behind.
//
// A string value: true with its text up to the terminator; a value of at
// most one byte (of any type) reads as empty text. Any other type, or a
// missing value: false and `text` unchanged.
bool read_registry_string(
    std::u16string_view path, std::u16string_view value_name, std::u16string& text);

// True whenever the key could be opened; `number` is set only by a 32-bit
// number value and is otherwise left as it was.
bool read_registry_number(
    std::u16string_view path, std::u16string_view value_name, std::uint32_t& number);
bool read_registry_number(std::u16string_view path, std::u16string_view value_name, int& number);

// The names of the key's subkeys, ordered by name without regard to case;
// empty when the key does not exist (it is not created).
std::vector<std::u16string> enumerate_registry_subkeys(std::u16string_view path);

// A key opened for writing, closed by close() or the destructor.
class RegistryKey : liba::Nocopy {
public:
    RegistryKey() = default;
    ~RegistryKey() { close(); }

    // Opens the key, creating it and every missing key above it.
    bool create(std::u16string_view path);
    // Opens an existing key.
    bool open(std::u16string_view path);
    void close();
    bool is_open() const { return open_; }

    // A string value; its terminator is stored and counted in its length.
    bool set_string(std::u16string_view value_name, std::u16string_view text);
    // A 32-bit number value.
    bool set_number(std::u16string_view value_name, std::uint32_t number);
    bool delete_value(std::u16string_view value_name);

private:
    std::u16string key_;
    bool open_ { false };
};

// Deletes the key with its values and all its subkeys.
bool delete_registry_key(std::u16string_view path);

} // namespace os
