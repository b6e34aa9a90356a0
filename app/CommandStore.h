#pragma once

#include "app/Command.h"
#include "os/ContactRecord.h"

#include <cstdint>
#include <string>
#include <vector>

namespace os {
class ContactManager;
}

// The command list and the folder that stores its tags: "commands.xml" with
// the tagged commands, and per tag NAME.tag (the template), NAME.wav (the
// recording) and, once the precise matching has used it, NAME.cepstra (a
// cache that is rebuilt from the recording whenever it is missing or stale). Lives on the
// user-interface thread.
class CommandStore {
public:
    explicit CommandStore(std::u16string directory);

    CommandList& commands() { return commands_; }
    const CommandList& commands() const { return commands_; }

    int tag_count() const;
    // Appends `command`, or merges it into the same entry (same id and phone):
    // that entry takes its full name and phone type, and its tag if it has one.
    void add_command(const Command& command);
    // Adds one Command per number of the contact (mobile, business, home), or
    // one without number when the contact has none but has a name.
    void add_contact(const os::ContactRecord& record);
    // Adds every contact of the store.
    void sync_contacts(os::ContactManager& contacts);
    // Merges commands.xml into the list; a missing or damaged file adds nothing.
    void load();
    // Writes commands.xml, or deletes it when no tag is left.
    void save() const;
    // Tagged Commands first, each group by name (code unit order).
    void sort();
    // The next free tag base name: "001", "002", ... "999", "1000".
    std::u16string new_tag_name() const;
    // Trains a tag from the capture's samples after the lead-in and stores
    // its files under the command's voice name (a new one if it has none).
    // False, with nothing changed, when the capture holds no speech.
    bool train_tag(Command& command, const std::vector<std::int16_t>& samples);
    // Deletes the command's tag files, clears its voice, then sorts and saves.
    void delete_tag(Command& command);

    const std::u16string& directory() const { return directory_; }
    std::u16string commands_path() const;
    std::u16string tag_path(const std::u16string& voice) const;
    std::u16string recording_path(const std::u16string& voice) const;
    // The precise matching's rebuildable cache of the recording's frames.
    std::u16string cache_path(const std::u16string& voice) const;

private:
    std::u16string directory_;
    CommandList commands_;
};
