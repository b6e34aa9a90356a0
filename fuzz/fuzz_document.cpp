// Loads arbitrary bytes as the settings document or the command list of a
// program folder (hostile nesting, attribute sizes, encodings and entities
// included): loading must never crash, no loaded tag may name a file outside
// the commands folder, and what was loaded must come back unchanged after
// the program saves it and loads it again, so that a save never changes or
// loses an option, a contact's name or a tag.
#include "app/Document.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

const std::filesystem::path& root()
{
    static const std::filesystem::path path = [] {
        std::string pattern
            = (std::filesystem::temp_directory_path() / "fuzz-document-XXXXXX").string();
        char* made = mkdtemp(pattern.data());
        if (!made)
            std::abort();
        std::filesystem::create_directories(std::filesystem::path(made) / "commands");
        return std::filesystem::path(made);
    }();
    return path;
}

bool same_settings(const Settings& a, const Settings& b)
{
    return a.play_sound == b.play_sound && a.play_commands == b.play_commands
        && a.wait_confirmation == b.wait_confirmation && a.skin == b.skin
        && a.language == b.language && a.engine == b.engine;
}

bool same_command(const Command& a, const Command& b)
{
    return a.id == b.id && a.name == b.name && a.full_name == b.full_name && a.phone == b.phone
        && a.phone_type == b.phone_type && a.voice == b.voice;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const auto& base = root();
    static Document document(base.u16string());
    // The first byte chooses the file; the rest is its content.
    bool settings = (data[0] & 1) == 0;
    std::filesystem::path file
        = settings ? base / "settings.xml" : base / "commands" / "commands.xml";
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data + 1), static_cast<std::streamsize>(size - 1));
    if (settings) {
        Settings& options = document.settings();
        options = Settings(options.path());
        document.load_settings();
        Settings loaded = options;
        document.save_settings();
        options = Settings(options.path());
        document.load_settings();
        if (!same_settings(loaded, options))
            std::abort();
        return 0;
    }
    document.commands().clear();
    document.load_commands();
    CommandList tagged;
    for (const Command& command : document.commands()) {
        // A tag's files are the voice name and an extension in the commands
        // folder: no separator and no character that ends a system path.
        if (command.voice.find_first_of(std::u16string(u"/\\\0", 3)) != std::u16string::npos)
            std::abort();
        if (command.has_tag())
            tagged.push_back(command);
    }
    document.save_commands();
    document.commands().clear();
    document.load_commands();
    const CommandList& again = document.commands();
    if (again.size() != tagged.size()
        || !std::equal(again.begin(), again.end(), tagged.begin(), same_command))
        std::abort();
    return 0;
}
