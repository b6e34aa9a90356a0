#pragma once

#include "app/AudioSession.h"
#include "app/Command.h"
#include "app/CommandStore.h"
#include "app/PreciseRecognizer.h"
#include "app/Settings.h"
#include "app/Singleton.h"
#include "engine/FeatureSet.h"
#include "engine/SpeechEngine.h"
#include "os/ContactManager.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The process-wide model: the settings, the command store, the contacts, the
// audio session for capture and prompts, and the speech engine. It lives on
// the user-interface thread; only the capture buffer is filled from the
// capture thread, under the buffer's own lock.
//
// Its files live in one folder, the program's own ("%app_path%") unless
// another is given: "settings.xml" and "commands/" with "commands.xml" and
// the tag files.
class Document : public Singleton<Document> {
public:
    explicit Document(std::u16string app_path = u"%app_path%");

    // Settings, read once at start-up and written after every change.
    void load_settings();
    // False (logged, the previous file intact) when it cannot be written.
    bool save_settings();
    Settings& settings() { return settings_; }
    const Settings& settings() const { return settings_; }

    // The command list and the stored tags.
    int tag_count() const;
    // Appends `command`, or merges it into the same entry (same id and phone):
    // that entry takes its full name and phone type, and its tag if it has one.
    void add_command(const Command& command);
    // Adds one Command per number of the contact (mobile, business, home), or
    // one without number when the contact has none but has a name.
    void add_contact(const os::ContactRecord& record);
    void sync_contacts();
    // Merges commands.xml into the list; a missing or damaged file adds nothing.
    void load_commands();
    // Writes commands.xml, or deletes it when no tag is left; false when it
    // cannot be written.
    bool save_commands();
    // Tagged Commands first, each group by name (code unit order).
    void sort_commands();
    // The next free tag base name: "001", "002", ... "999", "1000".
    std::u16string new_tag_name() const;
    // Builds a tag from the capture buffer and stores its files under the
    // command's voice name (a new one if it has none). Nothing changes when
    // the capture holds no speech or the files cannot be written.
    TagTraining train_tag(Command& command);
    // train_tag(), then the command joins the list, which is sorted and
    // saved; see CommandStore::record_tag().
    TagTraining record_tag(Command& command);
    // Takes the command's tag out of the list, saves the list and deletes the
    // tag's files; false, with the tag kept, when the list cannot be saved.
    bool delete_tag(Command& command);
    // Start-up's repair of what a crash may have left in the store: an
    // interrupted restore is finished or undone, and files that the list does
    // not name and temporaries of the settings and the tags are removed.
    void repair_store();

    CommandList& commands() { return commands_.commands(); }
    const CommandList& commands() const { return commands_.commands(); }

    // Paths of the files.
    std::u16string settings_path() const;
    std::u16string commands_directory() const;
    std::u16string commands_path() const;
    std::u16string tag_path(const std::u16string& voice) const;
    std::u16string recording_path(const std::u16string& voice) const;

    // Audio.
    // Starts capturing into the capture buffer (emptied, limited to 2.7 s)
    // with a new recorder; false when the input device cannot be opened or
    // the capture does not start.
    bool start_recording();
    // Seconds since the capture started.
    double elapsed() const;
    // Stops the capture and analyses what it holds after the lead-in; true
    // when the utterance has at least one frame.
    bool finish_recording(FeatureSet& features);
    // Stops the capture and matches what it holds after the lead-in with the
    // tagged commands in the precise mode (settings().engine). The verdict
    // tells the recognition run what to do: dial, confirm first, or ask
    // again; see PreciseRecognition. The tags' frames are loaded once and
    // again only after the tagged commands changed.
    PreciseRecognition finish_precise_recognition();
    // Unlinks, stops and destroys the current file source and the recorder.
    void stop_audio();
    // Plays the WAV image that starts at `offset` in the file (0 for a file
    // of its own); with `wait`, returns when playback has finished, or after
    // the file's duration and a margin when the output device never plays.
    void play_file(const std::u16string& path, std::uint32_t offset, bool wait);
    // Logs "Document::play PATH" and plays the file without waiting.
    void play(const std::u16string& path);

    os::ContactManager& contacts() { return contacts_; }
    SpeechEngine& engine() { return engine_; }
    AudioSession& audio() { return audio_; }

private:
    std::u16string app_path_;
    Settings settings_;
    CommandStore commands_;
    os::ContactManager contacts_;
    SpeechEngine engine_;
    // The precise matching over the tags of `precise_voices_` (the voice of
    // every command in list order when it was built).
    std::unique_ptr<PreciseRecognizer> precise_;
    std::vector<std::u16string> precise_voices_;
    // Last, so that its capture and playback stop before anything else goes.
    AudioSession audio_;
};
