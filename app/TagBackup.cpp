#include "app/TagBackup.h"

#include "app/CommandStore.h"
#include "app/Document.h"
#include "os/ChunkFile.h"
#include "os/FileInfo.h"
#include "os/FileReplacement.h"
#include "os/Log.h"
#include "os/Path.h"
#include "platform/Convert.h"
#include "platform/FolderLock.h"
#include "platform/LittleEndian.h"
#include "platform/Process.h"

#include <charconv>
#include <cstdint>
#include <filesystem>
#include <map>

namespace {

constexpr const char16_t* VERSION_ENTRY = u"VOICE_COMMAND_BACKUP_VERSION";
constexpr std::int32_t VERSION = 100;
constexpr const char16_t* FOLDER = u"commands";

constexpr const char16_t* FRESH = u"restore";
constexpr const char16_t* OLD = u"old";
constexpr const char16_t* PARTIAL = u"part";

// A name beside `path` that no other process of this program uses now.
std::u16string sibling(const std::u16string& path, const char16_t* purpose)
{
    return os::strip_separator(path) + u"." + purpose + u"-"
        + platform::from_utf8(std::to_string(platform::current_process_id()));
}

std::string native(const std::u16string& path)
{
    return os::native_path(os::expand_path_for_writing(path));
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

// The process id in the name of a partial backup "NAME.vcb.part-PID"
// (extension in any case); 0 for any other name.
int partial_backup_process(const std::string& name)
{
    std::string marker = "." + platform::to_utf8(PARTIAL) + "-";
    std::size_t at = name.rfind(marker);
    if (at == std::string::npos || !has_backup_extension(platform::from_utf8(name.substr(0, at))))
        return 0;
    const char* digits = name.data() + at + marker.size();
    const char* end = name.data() + name.size();
    int process = 0;
    auto [stop, error] = std::from_chars(digits, end, process);
    bool whole = digits != end && *digits != '-' && *digits != '+' && stop == end;
    return error == std::errc() && whole ? process : 0;
}

// Removes the partial backups in `folder` that a backup cut short by a crash
// left behind. One whose process still runs is being written now and stays.
void remove_stale_partial_backups(const std::u16string& folder)
{
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(native(folder), error)) {
        std::string name = entry.path().filename().string();
        int process = partial_backup_process(name);
        if (process == 0 || process == platform::current_process_id()
            || !platform::process_has_ended(process))
            continue;
        std::error_code file_error;
        if (!entry.is_regular_file(file_error))
            continue;
        os::log() << u"backup_tags removes the partial backup " << platform::from_utf8(name)
                  << u"\n";
        os::delete_file(platform::from_utf8(entry.path().string()));
    }
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
    remove_stale_partial_backups(os::directory_of(path));
    std::u16string partial = sibling(path, PARTIAL);
    bool written = false;
    {
        os::ChunkFile archive(partial, 1);
        std::uint8_t version[4];
        platform::write_u32le(version, static_cast<std::uint32_t>(VERSION));
        written = archive.is_open() && archive.begin_chunk(VERSION_ENTRY)
            && archive.write(version, 4) == 4 && archive.end_chunk()
            && archive.add_directory(commands_folder(), FOLDER) && archive.file().flush();
    }
    if (written && os::rename_path(partial, path)) {
        os::sync_directory(os::directory_of(path));
        return true;
    }
    os::log() << u"backup_tags failed " << path << u"\n";
    os::delete_file(partial);
    return false;
}

bool restore_tags(const std::u16string& requested)
{
    std::u16string path = backup_file_path(requested);
    stop_document_audio();
    std::u16string folder = os::strip_separator(commands_folder());
    std::u16string fresh = sibling(folder, FRESH);
    std::u16string old = sibling(folder, OLD);
    platform::FolderLock guard = CommandStore::lock(folder);
    {
        os::ChunkFile archive(path, 0);
        if (!archive.is_open() || !is_complete_backup(archive))
            return false;
        os::remove_tree(fresh);
        os::create_directories(fresh);
        if (!archive.extract_directory(fresh, FOLDER) || !os::sync_directory_files(fresh)) {
            os::log() << u"restore_tags failed " << path << u"\n";
            os::remove_tree(fresh);
            return false;
        }
    }
    // The swap, in one step where the file system can: the new folder takes
    // the name, and the old one, under the new one's name, goes.
    if (platform::exchange_paths(native(fresh), native(folder))) {
        os::sync_directory(os::directory_of(folder));
        os::remove_tree(fresh);
        return true;
    }
    // Otherwise the old folder steps aside, the new one takes its name, and
    // only then does the old one go; finish_interrupted_restore() completes
    // a swap that a crash cut in two.
    bool had_folder = os::rename_path(folder, old);
    if (!os::rename_path(fresh, folder)) {
        if (had_folder)
            os::rename_path(old, folder);
        os::remove_tree(fresh);
        return false;
    }
    os::sync_directory(os::directory_of(folder));
    if (had_folder)
        os::remove_tree(old);
    return true;
}

void finish_interrupted_restore(const std::u16string& commands_folder)
{
    std::u16string folder = os::strip_separator(commands_folder);
    std::filesystem::path parent(native(os::directory_of(folder)));
    std::string prefix = platform::to_utf8(os::file_name_of(folder)) + ".";
    // The leftovers of each interrupted restore, by the process that made them.
    std::map<std::string, std::u16string> fresh;
    std::map<std::string, std::u16string> old;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(parent, error)) {
        std::string name = entry.path().filename().string();
        if (name.compare(0, prefix.size(), prefix) != 0)
            continue;
        std::string rest = name.substr(prefix.size());
        std::u16string path = platform::from_utf8(entry.path().string());
        for (auto [purpose, found] : { std::pair { FRESH, &fresh }, std::pair { OLD, &old } }) {
            std::string lead = platform::to_utf8(purpose) + "-";
            if (rest.compare(0, lead.size(), lead) == 0)
                (*found)[rest.substr(lead.size())] = path;
        }
    }
    if (!os::FileInfo(folder).is_directory()) {
        // A folder that stepped aside beside a complete new one: the crash
        // came between the two renames, after the new folder was synced.
        for (const auto& [process, path] : old) {
            auto complete = fresh.find(process);
            bool moved = complete != fresh.end() && os::rename_path(complete->second, folder);
            if (!moved)
                moved = os::rename_path(path, folder);
            if (moved) {
                os::log() << u"finish_interrupted_restore " << folder << u"\n";
                break;
            }
        }
    }
    for (const auto* leftovers : { &fresh, &old })
        for (const auto& [process, path] : *leftovers)
            os::remove_tree(path);
}
