// ringwise-reg: reads and writes the registry that Ringwise and its
// companions share, for example to switch the diagnostic log on.

#include "os/Registry.h"
#include "platform/Convert.h"
#include "platform/LittleEndian.h"
#include "platform/Registry.h"
#include "platform/RegistryRoots.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr const char* USAGE
    = "usage: ringwise-reg get KEY NAME\n"
      "       ringwise-reg set KEY NAME --string TEXT | --number N\n"
      "       ringwise-reg delete KEY [NAME]\n"
      "       ringwise-reg list KEY\n"
      "\n"
      "KEY is a full path such as 'HKEY_CURRENT_USER\\Software\\Tarn' (HKCR, HKLM, HKU\n"
      "and HKCU abbreviate the roots). Names ignore case. The registry is the file\n"
      "RINGWISE_REGISTRY names, else $XDG_CONFIG_HOME/ringwise/registry.db.\n"
      "Exit status: 0 done, 1 not found or failed, 2 bad usage.\n";

int usage_error(const char* message)
{
    std::fprintf(stderr, "ringwise-reg: %s\n%s", message, USAGE);
    return 2;
}

// The key's full path, with an abbreviated root spelled out; empty when the
// path names no root.
std::u16string key_path(const char* argument)
{
    std::string path = argument;
    std::u16string wide = platform::from_utf8(path);
    for (auto& root : platform::REGISTRY_ROOTS) {
        std::size_t length = root.abbreviation.size();
        if (path.compare(0, length, root.abbreviation) == 0
            && (path.size() == length || path[length] == '\\')) {
            wide = std::u16string(root.name) + platform::from_utf8(path.substr(length));
            break;
        }
    }
    os::RegistryPath split = os::split_registry_path(wide);
    if (split.root == os::RegistryRoot::None)
        return {};
    std::u16string key = os::registry_root_name(split.root);
    if (!split.subkey.empty())
        key += u'\\' + split.subkey;
    return key;
}

std::string describe(const platform::RegistryValue& value)
{
    auto& data = value.data;
    if (value.type == platform::REGISTRY_NUMBER && data.size() == 4) {
        return std::to_string(platform::read_u32le(data.data()));
    }
    if (value.type == platform::REGISTRY_STRING) {
        std::u16string text;
        for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
            auto c = static_cast<char16_t>(platform::read_u16le(data.data() + i));
            if (c == 0)
                break;
            text.push_back(c);
        }
        return platform::to_utf8(text);
    }
    std::string bytes;
    char hex[4];
    for (std::uint8_t byte : data) {
        std::snprintf(hex, sizeof hex, "%02x", byte);
        bytes += hex;
    }
    return bytes;
}

const char* type_name(std::uint32_t type)
{
    switch (type) {
    case platform::REGISTRY_STRING:
        return "string";
    case platform::REGISTRY_NUMBER:
        return "number";
    default:
        return "binary";
    }
}

// Decimal or 0x-hexadecimal, from -2147483648 to 4294967295; negative
// numbers are stored as their 32-bit two's complement.
bool parse_number(const char* text, std::uint32_t& number)
{
    errno = 0;
    char* end = nullptr;
    long long value = std::strtoll(text, &end, 0);
    if (errno != 0 || end == text || *end != '\0' || value < -2147483648LL || value > 4294967295LL)
        return false;
    number = static_cast<std::uint32_t>(value);
    return true;
}

int get(const std::vector<std::string>& arguments)
{
    if (arguments.size() != 2)
        return usage_error("get takes KEY and NAME");
    std::u16string key = key_path(arguments[0].c_str());
    if (key.empty())
        return usage_error("KEY must start with a root such as HKEY_CURRENT_USER");
    auto value = platform::Registry::shared().query_value(key, platform::from_utf8(arguments[1]));
    if (!value) {
        std::fprintf(stderr, "ringwise-reg: no value '%s' in '%s'\n", arguments[1].c_str(),
            arguments[0].c_str());
        return 1;
    }
    std::printf("%s\n", describe(*value).c_str());
    return 0;
}

int set(const std::vector<std::string>& arguments)
{
    if (arguments.size() != 4 || (arguments[2] != "--string" && arguments[2] != "--number"))
        return usage_error("set takes KEY NAME and --string TEXT or --number N");
    std::u16string key = key_path(arguments[0].c_str());
    if (key.empty())
        return usage_error("KEY must start with a root such as HKEY_CURRENT_USER");
    std::u16string name = platform::from_utf8(arguments[1]);
    std::uint32_t number = 0;
    bool is_number = arguments[2] == "--number";
    if (is_number && !parse_number(arguments[3].c_str(), number))
        return usage_error("N must be a 32-bit number");
    os::RegistryKey opened;
    bool done = opened.create(key)
        && (is_number ? opened.set_number(name, number)
                      : opened.set_string(name, platform::from_utf8(arguments[3])));
    if (!done) {
        std::fprintf(stderr, "ringwise-reg: can't write '%s' in '%s' (%s)\n", arguments[1].c_str(),
            arguments[0].c_str(), platform::Registry::shared().file().c_str());
        return 1;
    }
    return 0;
}

int remove(const std::vector<std::string>& arguments)
{
    if (arguments.empty() || arguments.size() > 2)
        return usage_error("delete takes KEY and an optional NAME");
    std::u16string key = key_path(arguments[0].c_str());
    if (key.empty())
        return usage_error("KEY must start with a root such as HKEY_CURRENT_USER");
    auto& registry = platform::Registry::shared();
    bool done = arguments.size() == 2
        ? registry.delete_value(key, platform::from_utf8(arguments[1]))
        : registry.delete_key(key);
    if (!done) {
        std::fprintf(stderr, "ringwise-reg: can't delete '%s'\n",
            (arguments[0] + (arguments.size() == 2 ? " " + arguments[1] : std::string())).c_str());
        return 1;
    }
    return 0;
}

int list(const std::vector<std::string>& arguments)
{
    if (arguments.size() != 1)
        return usage_error("list takes KEY");
    std::u16string key = key_path(arguments[0].c_str());
    if (key.empty())
        return usage_error("KEY must start with a root such as HKEY_CURRENT_USER");
    auto& registry = platform::Registry::shared();
    auto subkeys = registry.subkeys(key);
    auto values = registry.values(key);
    if (!subkeys || !values) {
        std::fprintf(stderr, "ringwise-reg: no key '%s'\n", arguments[0].c_str());
        return 1;
    }
    for (auto& name : *subkeys)
        std::printf("%s\\\n", platform::to_utf8(name).c_str());
    for (auto& value : *values)
        std::printf("%s (%s) = %s\n", platform::to_utf8(value.name).c_str(), type_name(value.type),
            describe(value).c_str());
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return usage_error("no command");
    std::string command = argv[1];
    std::vector<std::string> arguments(argv + 2, argv + argc);
    if (command == "--help" || command == "-h") {
        std::fputs(USAGE, stdout);
        return 0;
    }
    if (command == "get")
        return get(arguments);
    if (command == "set")
        return set(arguments);
    if (command == "delete")
        return remove(arguments);
    if (command == "list")
        return list(arguments);
    return usage_error(("unknown command '" + command + "'").c_str());
}
