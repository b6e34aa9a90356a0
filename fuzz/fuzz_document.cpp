// Loads arbitrary bytes as the settings document or the command list of a
// program folder: loading must never crash, and no loaded tag may name a
// file outside the commands folder.
#include "app/Document.h"

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
        document.load_settings();
        return 0;
    }
    document.commands().clear();
    document.load_commands();
    for (const Command& command : document.commands()) {
        if (command.voice.find_first_of(u"/\\") != std::u16string::npos)
            std::abort();
    }
    return 0;
}
