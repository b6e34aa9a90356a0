// Restores arbitrary bytes as a backup of voice tags: a restore must never
// crash, never write outside the commands folder, and either succeed or
// leave the folder exactly as it was.
#include "app/Document.h"
#include "app/TagBackup.h"

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
    if (!restored && read(base / "commands" / "keep.tag") != "keep")
        std::abort();
    return 0;
}
