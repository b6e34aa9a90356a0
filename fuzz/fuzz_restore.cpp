// Restores arbitrary bytes as a backup of voice tags, as the settings form
// does: a restore must never crash, never write outside the commands folder
// nor into a folder below it, and either succeed or leave the folder exactly
// as it was; the command list the form then reloads from what was restored
// must load, naming no file outside the folder.
#include "app/Document.h"
#include "app/TagBackup.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

const std::filesystem::path& root()
{
    static const std::filesystem::path path = [] {
        std::string pattern
            = (std::filesystem::temp_directory_path() / "fuzz-restore-XXXXXX").string();
        char* made = mkdtemp(pattern.data());
        if (!made)
            std::abort();
        return std::filesystem::path(made);
    }();
    return path;
}

std::string read(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto& base = root();
    // The document names the commands folder: BASE/commands.
    static Document document(base.u16string());
    std::filesystem::remove_all(base / "commands");
    std::filesystem::create_directories(base / "commands");
    std::ofstream(base / "commands" / "keep.tag", std::ios::binary) << "keep";
    std::ofstream(base / "in.vcb", std::ios::binary)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));

    bool restored = restore_tags((base / "in.vcb").u16string());
    // Whatever happened, only the input and the commands folder exist.
    for (auto& entry : std::filesystem::directory_iterator(base)) {
        auto name = entry.path().filename().string();
        if (name != "in.vcb" && name != "commands")
            std::abort();
    }
    if (!restored) {
        if (read(base / "commands" / "keep.tag") != "keep"
            || std::distance(std::filesystem::directory_iterator(base / "commands"),
                   std::filesystem::directory_iterator())
                != 1)
            std::abort();
        return 0;
    }
    for (auto& entry : std::filesystem::directory_iterator(base / "commands")) {
        if (!entry.is_regular_file())
            std::abort();
    }
    document.commands().clear();
    document.load_commands();
    for (const Command& command : document.commands()) {
        if (command.voice.find_first_of(std::u16string(u"/\\\0", 3)) != std::u16string::npos)
            std::abort();
    }
    return 0;
}
