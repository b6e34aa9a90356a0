#pragma once

#include "app/Command.h"
#include "os/ContactRecord.h"
#include "platform/FolderLock.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace os {
class ContactManager;
}

// What training a tag came to; true only when it was stored.
struct TagTraining {
    enum Outcome {
        Stored,
        // The capture holds no speech.
        NoSpeech,
        // The tag's files or the list could not be written (a full disk, a
        // folder that cannot be written).
        NotWritten,
    };
    Outcome outcome;

    explicit operator bool() const { return outcome == Stored; }
};

// The command list and the folder that stores its tags: "commands.xml" with
// the tagged commands, and per tag NAME.tag (the template), NAME.wav (the
// recording) and, once the precise matching has used it, NAME.cepstra (a
// cache that is rebuilt from the recording whenever it is missing or stale). Lives on the
// user-interface thread.
//
// Every file is replaced whole (os::FileReplacement), and the steps go in an
// order that a crash at any moment cannot turn into a lost tag: a new tag's
// files are stored before the list names them, and a deleted tag leaves the
// list before its files go. What a crash can leave is files that no list
// names and temporaries; remove_orphans() clears them at start-up. Processes
// that change the store take lock() around each change of several steps.
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
    // Writes commands.xml, or deletes it when no tag is left; false (logged,
    // the previous file intact) when it cannot be written.
    bool save() const;
    // Tagged Commands first, each group by name (code unit order).
    void sort();
    // The next free tag base name: "001", "002", ... "999", "1000".
    std::u16string new_tag_name() const;
    // Trains a tag from the capture's samples after the lead-in and stores
    // its files under the command's voice name (a new one if it has none).
    // Nothing changes when the capture holds no speech or a file cannot be
    // written.
    TagTraining train_tag(Command& command, const std::vector<std::int16_t>& samples);
    // train_tag(), then the command joins the list, which is sorted and
    // saved, all under lock(). When the list cannot be saved, a new tag is
    // taken back (its files deleted) and the result is NotWritten.
    TagTraining record_tag(Command& command, const std::vector<std::int16_t>& samples);
    // Takes the command's tag out of the list and saves it, then deletes the
    // tag's files and sorts, under lock(). False, with the tag kept, when the
    // list cannot be saved.
    bool delete_tag(Command& command);
    // Deletes what a crash may have left in the folder: temporaries, and the
    // .tag, .wav and .cepstra files of voices that commands.xml does not
    // name. A commands.xml that cannot be read spares every tag file. The
    // caller holds lock().
    void remove_orphans() const;

    // The store's lock: a lock on the folder that holds the commands folder
    // (which a restore replaces), created if needed.
    platform::FolderLock lock() const;
    static platform::FolderLock lock(const std::u16string& directory);

    const std::u16string& directory() const { return directory_; }
    std::u16string commands_path() const;
    std::u16string tag_path(const std::u16string& voice) const;
    std::u16string recording_path(const std::u16string& voice) const;
    // The precise matching's rebuildable cache of the recording's frames.
    std::u16string cache_path(const std::u16string& voice) const;

private:
    // Entries by id and phone while a batch is merged, so that merging many
    // thousands of entries does not search the whole list for each.
    using EntryIndex = std::unordered_map<std::u16string, std::size_t>;
    EntryIndex index_entries() const;
    void add_command(const Command& command, EntryIndex& index);

    std::u16string directory_;
    CommandList commands_;
};
