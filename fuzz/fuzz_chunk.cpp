// Reads arbitrary bytes as a chunk archive the way a restore does: every
// chunk and its data, a search by name, and an extraction of one folder.
// Extraction must never write beside the target folder.
#include "os/ChunkFile.h"
#include "os/FileRemover.h"
#include "os/Finder.h"
#include "os/Path.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string base = "/tmp/fuzz_chunk." + std::to_string(getpid());
    static const std::string archive = base + "/archive.vcb";
    static const bool prepared = [] {
        mkdir(base.c_str(), 0700);
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(base, ignored);
        });
        return true;
    }();
    (void)prepared;
    if (FILE* out = std::fopen(archive.c_str(), "wb")) {
        std::fwrite(data, 1, size, out);
        std::fclose(out);
    }
    const std::u16string wide_base(base.begin(), base.end());
    os::ChunkFile reader(os::join_path(wide_base, u"archive.vcb"), 0);
    char block[512];
    while (reader.next_chunk()) {
        while (reader.read(block, sizeof block) > 0) { }
    }
    if (reader.find_chunk(u"VOICE_COMMAND_BACKUP_VERSION"))
        reader.read(block, 4);
    reader.extract_directory(os::join_path(wide_base, u"target"), u"commands");

    os::FileRemover remover;
    os::find_files(remover, os::join_path(wide_base, u"target"), u"*", u"*", true);
    // Only the archive and the target folder may exist beside each other.
    if (DIR* directory = opendir(base.c_str())) {
        while (dirent* entry = readdir(directory)) {
            std::string name = entry->d_name;
            if (name != "." && name != ".." && name != "archive.vcb" && name != "target")
                __builtin_trap();
        }
        closedir(directory);
    }
    return 0;
}
