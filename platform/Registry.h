#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Value types, numbered as the device numbers them.
inline constexpr std::uint32_t REGISTRY_STRING = 1;
inline constexpr std::uint32_t REGISTRY_NUMBER = 4;

// The longest name of a key's path component, as the device allows.
inline constexpr std::size_t REGISTRY_MAX_KEY_NAME = 255;
// The largest value the registry takes.
inline constexpr std::size_t REGISTRY_MAX_VALUE_SIZE = 1024 * 1024;

// One named value: its type and its bytes exactly as stored (a string value
// holds UTF-16LE code units, normally with a terminating zero; a number four
// little-endian bytes).
struct RegistryValue {
    std::u16string name;
    std::uint32_t type { 0 };
    std::vector<std::uint8_t> data;
};

struct RegistryImpl;

// The device's registry, kept in one SQLite database so that several
// processes may use it at once (WAL mode, a busy timeout, writes in
// BEGIN IMMEDIATE transactions).
//
// Keys are named by full paths whose first component is a root
// ("HKEY_CLASSES_ROOT", "HKEY_LOCAL_MACHINE", "HKEY_USERS",
// "HKEY_CURRENT_USER"), components separated by "\". Key and value names
// compare without regard to case and keep the case they were created with.
//
// The database is the file given to the constructor, or, without one, the
// file that RINGWISE_REGISTRY names (else $XDG_CONFIG_HOME/ringwise/registry.db),
// looked up again at every operation. A missing database reads as empty and
// is created by the first write. A damaged or too long locked database makes
// reads find nothing and writes fail. Safe for any thread; nothing is cached
// but the open connection.
class Registry {
public:
    explicit Registry(std::string file = {});
    ~Registry();
    Registry(const Registry&) = delete;
    Registry& operator=(const Registry&) = delete;

    // The registry every part of the program shares.
    static Registry& shared();

    // The database file the next operation will use.
    std::string file() const;

    bool key_exists(std::u16string_view key);
    // Creates the key and every missing key above it; true also when it
    // already existed.
    bool create_key(std::u16string_view key);
    // Deletes the key with its values and every key below it. Roots stay.
    bool delete_key(std::u16string_view key);
    // The names of the keys right below `key`, ordered by name without regard
    // to case; nothing when the key does not exist.
    std::optional<std::vector<std::u16string>> subkeys(std::u16string_view key);

    std::optional<RegistryValue> query_value(std::u16string_view key, std::u16string_view name);
    // Opens the key, creating it when it does not exist, and reads the value
    // into `value` (nothing when it is missing). False when the key could
    // neither be found nor created.
    bool open_and_query(
        std::u16string_view key, std::u16string_view name, std::optional<RegistryValue>& value);
    // Sets (adds or replaces) a value of an existing key.
    bool set_value(std::u16string_view key, const RegistryValue& value);
    bool delete_value(std::u16string_view key, std::u16string_view name);
    // Every value of the key, ordered by name without regard to case.
    std::optional<std::vector<RegistryValue>> values(std::u16string_view key);

private:
    std::unique_ptr<RegistryImpl> impl_;
};

} // namespace platform
