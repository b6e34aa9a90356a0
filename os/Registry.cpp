#include "os/Registry.h"

#include "platform/LittleEndian.h"
#include "platform/Registry.h"
#include "platform/RegistryRoots.h"

#include <iterator>

namespace os {

namespace {

// The roots follow RegistryRoot::None in the order of the registry's table.
RegistryRoot root_at(std::size_t index)
{
    return static_cast<RegistryRoot>(index + 1);
}

// The key as the store names it: the root's full name, then the subkey.
std::u16string full_key(std::u16string_view path)
{
    RegistryPath split = split_registry_path(path);
    if (split.root == RegistryRoot::None)
        return {};
    std::u16string key = registry_root_name(split.root);
    if (!split.subkey.empty())
        key += u'\\' + split.subkey;
    return key;
}

std::vector<std::uint8_t> little_endian(std::u16string_view text)
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(text.size() * 2);
    for (char16_t c : text)
        platform::append_u16le(bytes, c);
    return bytes;
}

} // namespace

RegistryPath split_registry_path(std::u16string_view path)
{
    // Tested in the table's order, each as an exact prefix.
    for (std::size_t i = 0; i < std::size(platform::REGISTRY_ROOTS); ++i) {
        std::u16string_view name = platform::REGISTRY_ROOTS[i].name;
        if (!path.starts_with(name))
            continue;
        // "HKEY_USERSX\..." names no root: the separator must follow the name.
        if (path.size() == name.size())
            return { root_at(i), {} };
        if (path[name.size()] != u'\\')
            continue;
        return { root_at(i), std::u16string(path.substr(name.size() + 1)) };
    }
    return {};
}

std::u16string registry_root_name(RegistryRoot root)
{
    for (std::size_t i = 0; i < std::size(platform::REGISTRY_ROOTS); ++i) {
        if (root_at(i) == root)
            return std::u16string(platform::REGISTRY_ROOTS[i].name);
    }
    return {};
}

bool read_registry_string(
    std::u16string_view path, std::u16string_view value_name, std::u16string& text)
{
    std::u16string key = full_key(path);
    std::optional<platform::RegistryValue> value;
    if (key.empty() || !platform::Registry::shared().open_and_query(key, value_name, value)
        || !value)
        return false;
    if (value->data.size() <= 1) {
        text.clear();
        return true;
    }
    if (value->type != platform::REGISTRY_STRING)
        return false;
    // The text ends at its terminator, or with the data when it has none;
    // an odd last byte is no character.
    std::u16string read;
    for (std::size_t i = 0; i + 1 < value->data.size(); i += 2) {
        auto c = static_cast<char16_t>(platform::read_u16le(value->data.data() + i));
        if (c == 0)
            break;
        read.push_back(c);
    }
    text = std::move(read);
    return true;
}

bool read_registry_number(
    std::u16string_view path, std::u16string_view value_name, std::uint32_t& number)
{
    std::u16string key = full_key(path);
    std::optional<platform::RegistryValue> value;
    if (key.empty() || !platform::Registry::shared().open_and_query(key, value_name, value))
        return false;
    if (value && value->type == platform::REGISTRY_NUMBER && value->data.size() == 4)
        number = platform::read_u32le(value->data.data());
    return true;
}

bool read_registry_number(std::u16string_view path, std::u16string_view value_name, int& number)
{
    auto value = static_cast<std::uint32_t>(number);
    bool opened = read_registry_number(path, value_name, value);
    number = static_cast<int>(value);
    return opened;
}

std::vector<std::u16string> enumerate_registry_subkeys(std::u16string_view path)
{
    std::u16string key = full_key(path);
    if (key.empty())
        return {};
    auto names = platform::Registry::shared().subkeys(key);
    if (!names)
        return {};
    // Names longer than the device allows end the enumeration there, as its
    // enumeration reports an error for them.
    for (std::size_t i = 0; i < names->size(); ++i) {
        if ((*names)[i].size() > platform::REGISTRY_MAX_KEY_NAME) {
            names->resize(i);
            break;
        }
    }
    return *names;
}

bool RegistryKey::create(std::u16string_view path)
{
    close();
    std::u16string key = full_key(path);
    if (key.empty() || !platform::Registry::shared().create_key(key))
        return false;
    key_ = std::move(key);
    open_ = true;
    return true;
}

bool RegistryKey::open(std::u16string_view path)
{
    close();
    std::u16string key = full_key(path);
    if (key.empty() || !platform::Registry::shared().key_exists(key))
        return false;
    key_ = std::move(key);
    open_ = true;
    return true;
}

void RegistryKey::close()
{
    key_.clear();
    open_ = false;
}

bool RegistryKey::set_string(std::u16string_view value_name, std::u16string_view text)
{
    if (!open_)
        return false;
    platform::RegistryValue value { std::u16string(value_name), platform::REGISTRY_STRING,
        little_endian(text) };
    value.data.push_back(0);
    value.data.push_back(0);
    return platform::Registry::shared().set_value(key_, value);
}

bool RegistryKey::set_number(std::u16string_view value_name, std::uint32_t number)
{
    if (!open_)
        return false;
    platform::RegistryValue value { std::u16string(value_name), platform::REGISTRY_NUMBER, {} };
    platform::append_u32le(value.data, number);
    return platform::Registry::shared().set_value(key_, value);
}

bool RegistryKey::delete_value(std::u16string_view value_name)
{
    return open_ && platform::Registry::shared().delete_value(key_, value_name);
}

bool delete_registry_key(std::u16string_view path)
{
    std::u16string key = full_key(path);
    return !key.empty() && platform::Registry::shared().delete_key(key);
}

} // namespace os
