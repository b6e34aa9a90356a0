#include "app/Document.h"
#include "app/TagBackup.h"
#include "platform/Convert.h"

#include <cstdio>
#include <string>
#include <vector>

namespace tool {

// Saves every voice tag of the store beside the tool into one backup file,
// as the settings screen's "Backup" does.
int run_backup(const std::vector<std::string>& arguments)
{
    if (arguments.size() != 1 || arguments[0].empty()) {
        std::fputs("usage: ringwise-tool backup FILE\n", stderr);
        return 2;
    }
    Document document;
    std::u16string path = backup_file_path(platform::from_utf8(arguments[0]));
    if (!backup_tags(path)) {
        std::fprintf(stderr, "ringwise-tool: could not write the backup %s\n",
            platform::to_utf8(path).c_str());
        return 1;
    }
    std::printf("backup %s\n", platform::to_utf8(path).c_str());
    return 0;
}

// Replaces the store's voice tags with those of a backup file; on failure
// the tags stay as they were.
int run_restore(const std::vector<std::string>& arguments)
{
    if (arguments.size() != 1 || arguments[0].empty()) {
        std::fputs("usage: ringwise-tool restore FILE\n", stderr);
        return 2;
    }
    Document document;
    std::u16string path = backup_file_path(platform::from_utf8(arguments[0]));
    if (!restore_tags(path)) {
        std::fprintf(stderr,
            "ringwise-tool: %s is not a complete backup of voice tags, or it could not be "
            "restored; the tags are unchanged\n",
            platform::to_utf8(path).c_str());
        return 1;
    }
    std::printf("restored %s\n", platform::to_utf8(path).c_str());
    return 0;
}

} // namespace tool
