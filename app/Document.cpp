#include "app/Document.h"

#include "app/TagBackup.h"
#include "os/Log.h"
#include "os/Path.h"

#include <utility>

Document::Document(std::u16string app_path)
    : app_path_(std::move(app_path))
    , settings_(os::join_path(app_path_, u"settings.xml"))
    , commands_(os::join_path(app_path_, u"commands"))
{
}

std::u16string Document::settings_path() const
{
    return settings_.path();
}

std::u16string Document::commands_directory() const
{
    return commands_.directory();
}

std::u16string Document::commands_path() const
{
    return commands_.commands_path();
}

std::u16string Document::tag_path(const std::u16string& voice) const
{
    return commands_.tag_path(voice);
}

std::u16string Document::recording_path(const std::u16string& voice) const
{
    return commands_.recording_path(voice);
}

void Document::load_settings()
{
    settings_.load();
}

bool Document::save_settings()
{
    // Under the store's lock, so that a start-up's repair meanwhile does not
    // take the new file's temporary for a crash's.
    platform::FolderLock guard = commands_.lock();
    return settings_.save();
}

int Document::tag_count() const
{
    return commands_.tag_count();
}

void Document::add_command(const Command& command)
{
    commands_.add_command(command);
}

void Document::add_contact(const os::ContactRecord& record)
{
    commands_.add_contact(record);
}

void Document::sync_contacts()
{
    commands_.sync_contacts(contacts_);
}

void Document::load_commands()
{
    commands_.load();
}

bool Document::save_commands()
{
    return commands_.save();
}

void Document::sort_commands()
{
    commands_.sort();
}

std::u16string Document::new_tag_name() const
{
    return commands_.new_tag_name();
}

TagTraining Document::train_tag(Command& command)
{
    // A tag trained again keeps its voice name: its frames must be reloaded.
    precise_.reset();
    audio_.stop_audio();
    return commands_.train_tag(command, audio_.take_capture());
}

TagTraining Document::record_tag(Command& command)
{
    precise_.reset();
    audio_.stop_audio();
    return commands_.record_tag(command, audio_.take_capture());
}

bool Document::delete_tag(Command& command)
{
    if (!command.has_tag())
        return true;
    audio_.stop_audio();
    precise_.reset();
    return commands_.delete_tag(command);
}

void Document::repair_store()
{
    platform::FolderLock guard = commands_.lock();
    finish_interrupted_restore(commands_.directory());
    commands_.remove_orphans();
    settings_.remove_temporaries();
}

PreciseRecognition Document::finish_precise_recognition()
{
    audio_.stop_audio();
    std::vector<std::u16string> voices;
    for (const Command& command : commands())
        voices.push_back(command.voice);
    if (!precise_ || voices != precise_voices_) {
        const CommandStore& store = commands_;
        precise_ = std::make_unique<PreciseRecognizer>(
            commands(),
            [&store](const std::u16string& voice) { return store.recording_path(voice); },
            [&store](const std::u16string& voice) { return store.cache_path(voice); });
        precise_voices_ = std::move(voices);
    }
    return precise_->recognize(audio_.take_capture());
}

bool Document::start_recording()
{
    return audio_.start_recording();
}

double Document::elapsed() const
{
    return audio_.elapsed();
}

bool Document::finish_recording(FeatureSet& features)
{
    return audio_.finish_recording(features);
}

void Document::stop_audio()
{
    audio_.stop_audio();
}

void Document::play_file(const std::u16string& path, std::uint32_t offset, bool wait)
{
    audio_.play_file(path, offset, wait);
}

void Document::play(const std::u16string& path)
{
    os::log() << u"Document::play " << path << u"\n";
    audio_.play(path);
}
