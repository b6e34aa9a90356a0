#include "app/TagBackup.h"

#include "app/Document.h"
#include "os/ChunkFile.h"
#include "os/Path.h"
#include "platform/Convert.h"
#include "platform/LittleEndian.h"

#include <cstdint>
#include <unistd.h>

namespace {

constexpr const char16_t* VERSION_ENTRY = u"VOICE_COMMAND_BACKUP_VERSION";
constexpr std::int32_t VERSION = 100;
constexpr const char16_t* FOLDER = u"commands";

// A name beside `path` that no other process of this program uses now.
std::u16string sibling(const std::u16string& path, const char16_t* purpose)
{
    return os::strip_separator(path) + u"." + purpose + u"-"
        + platform::from_utf8(std::to_string(::getpid()));
}

bool has_backup_extension(const std::u16string& path)
{
    std::u16string name = os::file_name_of(path);
    std::size_t dot = name.rfind(u'.');
    return dot != std::u16string::npos
        && platform::equal_ignoring_case(name.substr(dot + 1), u"vcb");
}

void stop_document_audio()
{
    if (Document* document = Document::instance())
        document->stop_audio();
}

std::u16string commands_folder()
{
    Document* document = Document::instance();
    return document ? document->commands_directory() : u"%app_path%/commands";
}

// Whether the archive ends exactly after its last whole entry, so that no
// entry was cut short, and holds the version entry with the value 100.
bool is_complete_backup(os::ChunkFile& archive)
{
    std::uint64_t covered = 0;
    archive.rewind();
    while (archive.next_chunk())
        covered += 8 + std::uint64_t(archive.name().size()) * 2 + archive.data_length();
    if (covered != archive.file().size())
        return false;
    if (!archive.find_chunk(VERSION_ENTRY))
        return false;
    std::uint8_t bytes[4];
    if (archive.read(bytes, 4) != 4)
        return false;
    return platform::read_i32le(bytes) == VERSION;
}

} // namespace

std::u16string backup_file_path(const std::u16string& path)
{
    return has_backup_extension(path) ? path : path + u".vcb";
}

bool backup_tags(const std::u16string& requested)
{
    std::u16string path = backup_file_path(requested);
    stop_document_audio();
    std::u16string partial = sibling(path, u"part");
    bool written = false;
    {
        os::ChunkFile archive(partial, 1);
        std::uint8_t version[4];
        platform::write_u32le(version, static_cast<std::uint32_t>(VERSION));
        written = archive.is_open() && archive.begin_chunk(VERSION_ENTRY)
            && archive.write(version, 4) == 4 && archive.end_chunk()
            && archive.add_directory(commands_folder(), FOLDER) && archive.file().flush();
    }
    if (written && os::rename_path(partial, path))
        return true;
    os::delete_file(partial);
    return false;
}

bool restore_tags(const std::u16string& requested)
{
    std::u16string path = backup_file_path(requested);
    stop_document_audio();
    std::u16string folder = os::strip_separator(commands_folder());
    std::u16string fresh = sibling(folder, u"restore");
    std::u16string old = sibling(folder, u"old");
    {
        os::ChunkFile archive(path, 0);
        if (!archive.is_open() || !is_complete_backup(archive))
            return false;
        os::remove_tree(fresh);
        os::create_directories(fresh);
        if (!archive.extract_directory(fresh, FOLDER)) {
            os::remove_tree(fresh);
            return false;
        }
    }
    // The swap: the old folder steps aside, the new one takes its name, and
    // only then does the old one go.
    bool had_folder = os::rename_path(folder, old);
    if (!os::rename_path(fresh, folder)) {
        if (had_folder)
            os::rename_path(old, folder);
        os::remove_tree(fresh);
        return false;
    }
    if (had_folder)
        os::remove_tree(old);
    return true;
}
