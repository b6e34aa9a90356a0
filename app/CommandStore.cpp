#include "app/CommandStore.h"

#include "app/TrainedTag.h"
#include "os/ContactManager.h"
#include "os/File.h"
#include "os/FileFinder.h"
#include "os/FileInfo.h"
#include "os/FileReplacement.h"
#include "os/Log.h"
#include "os/Path.h"
#include "os/Xml.h"
#include "platform/Convert.h"

#include <algorithm>
#include <optional>
#include <set>
#include <utility>

namespace {

// A tag's base name names files inside the commands folder only; a stored
// name that would reach elsewhere was not written by this program.
bool is_safe_voice(const std::u16string& voice)
{
    return voice.find_first_of(u"/\\") == std::u16string::npos;
}

// The extensions of a tag's files, the precise matching's cache included.
bool is_tag_file_extension(const std::u16string& name)
{
    std::size_t dot = name.rfind(u'.');
    if (dot == std::u16string::npos)
        return false;
    std::u16string extension = name.substr(dot + 1);
    return platform::equal_ignoring_case(extension, u"tag")
        || platform::equal_ignoring_case(extension, u"wav")
        || platform::equal_ignoring_case(extension, u"cepstra");
}

} // namespace

CommandStore::CommandStore(std::u16string directory)
    : directory_(std::move(directory))
{
}

std::u16string CommandStore::commands_path() const
{
    return os::join_path(directory_, u"commands.xml");
}

std::u16string CommandStore::tag_path(const std::u16string& voice) const
{
    return os::join_path(directory_, voice + u".tag");
}

std::u16string CommandStore::recording_path(const std::u16string& voice) const
{
    return os::join_path(directory_, voice + u".wav");
}

std::u16string CommandStore::cache_path(const std::u16string& voice) const
{
    return os::join_path(directory_, voice + u".cepstra");
}

int CommandStore::tag_count() const
{
    return static_cast<int>(std::count_if(
        commands_.begin(), commands_.end(), [](const Command& c) { return c.has_tag(); }));
}

namespace {

std::u16string entry_key(const Command& command)
{
    return platform::from_utf8(platform::to_text(static_cast<long>(command.id))) + u'\n'
        + command.phone;
}

void merge_into(Command& same, const Command& command)
{
    same.full_name = command.full_name;
    same.phone_type = command.phone_type;
    if (command.has_tag()) {
        same.voice = command.voice;
        same.voice_template = command.voice_template;
    }
}

std::vector<Command> contact_commands(const os::ContactRecord& record)
{
    std::u16string name = join(record.first_name, record.last_name, u" ");
    std::u16string full = join(name, record.company, u", ");
    auto make = [&](const std::u16string& phone, const std::u16string& type) {
        Command command;
        command.id = record.oid;
        command.name = name.empty() ? full : name;
        command.full_name = full.empty() ? name : full;
        command.phone = phone;
        command.phone_type = type;
        return command;
    };
    const std::pair<const std::u16string&, const char16_t*> numbers[] = {
        { record.mobile_phone, u"mobile" },
        { record.business_phone, u"business" },
        { record.home_phone, u"home" },
    };
    std::vector<Command> commands;
    for (const auto& [phone, type] : numbers) {
        if (!phone.empty())
            commands.push_back(make(phone, type));
    }
    if (commands.empty() && !full.empty())
        commands.push_back(make(u"", u""));
    return commands;
}

} // namespace

void CommandStore::add_command(const Command& command)
{
    auto same = std::find_if(commands_.begin(), commands_.end(),
        [&](const Command& c) { return c.same_entry(command); });
    if (same == commands_.end())
        commands_.push_back(command);
    else
        merge_into(*same, command);
}

CommandStore::EntryIndex CommandStore::index_entries() const
{
    EntryIndex index;
    // The first of equal entries is the one merged into.
    for (std::size_t i = 0; i < commands_.size(); ++i)
        index.emplace(entry_key(commands_[i]), i);
    return index;
}

void CommandStore::add_command(const Command& command, EntryIndex& index)
{
    auto [found, added] = index.emplace(entry_key(command), commands_.size());
    if (added)
        commands_.push_back(command);
    else
        merge_into(commands_[found->second], command);
}

void CommandStore::add_contact(const os::ContactRecord& record)
{
    for (const Command& command : contact_commands(record))
        add_command(command);
}

void CommandStore::sync_contacts(os::ContactManager& contacts)
{
    std::vector<os::ContactRecord> records;
    contacts.load_all(records);
    EntryIndex index = index_entries();
    for (const os::ContactRecord& record : records) {
        for (const Command& command : contact_commands(record))
            add_command(command, index);
    }
}

void CommandStore::load()
{
    os::XmlNode root = os::find_child(os::load_xml_file(commands_path()), u"Commands");
    EntryIndex index = index_entries();
    for (os::XmlNode entry = os::child_at(root, 0); entry; entry = os::next_sibling(entry)) {
        // Comments and stray text between the entries are not commands.
        if (!os::is_element(entry))
            continue;
        Command command;
        os::get_attribute(entry, u"id", command.id);
        os::get_attribute(entry, u"name", command.name);
        os::get_attribute(entry, u"full_name", command.full_name);
        os::get_attribute(entry, u"phone", command.phone);
        os::get_attribute(entry, u"phone_type", command.phone_type);
        os::get_attribute(entry, u"voice", command.voice);
        if (!is_safe_voice(command.voice))
            continue;
        add_command(command, index);
    }
}

bool CommandStore::save() const
{
    if (tag_count() == 0) {
        os::delete_file(commands_path());
        return true;
    }
    os::XmlNode document = os::new_xml_document();
    os::XmlNode root = os::append_child(document, u"Commands");
    for (const Command& command : commands_) {
        if (!command.has_tag())
            continue;
        os::XmlNode entry = os::append_child(root, u"Command");
        os::set_attribute(entry, u"id", static_cast<long>(command.id));
        os::set_attribute(entry, u"name", command.name);
        os::set_attribute(entry, u"full_name", command.full_name);
        os::set_attribute(entry, u"phone", command.phone);
        os::set_attribute(entry, u"phone_type", command.phone_type);
        os::set_attribute(entry, u"voice", command.voice);
    }
    os::create_directories(directory_);
    if (os::save_xml_file(document, commands_path()))
        return true;
    os::log() << u"CommandStore::save failed " << commands_path() << u"\n";
    return false;
}

void CommandStore::sort()
{
    std::sort(commands_.begin(), commands_.end(), [](const Command& a, const Command& b) {
        if (a.has_tag() != b.has_tag())
            return a.has_tag();
        return a.name < b.name;
    });
}

std::u16string CommandStore::new_tag_name() const
{
    os::FileFinder finder;
    os::find_files(finder, directory_, u"*", u"", false);
    long largest = 0;
    for (const std::u16string& path : finder.files) {
        int number;
        if (platform::text_to_int(os::file_title_of(path), number))
            largest = std::max<long>(largest, number);
    }
    std::u16string text = platform::from_utf8(platform::to_text(largest + 1));
    if (text.size() < 3)
        text.insert(0, 3 - text.size(), u'0');
    return text;
}

TagTraining CommandStore::train_tag(Command& command, const std::vector<std::int16_t>& samples)
{
    std::optional<TrainedTag> tag = TrainedTag::train(samples);
    if (!tag)
        return { TagTraining::NoSpeech };
    os::create_directories(directory_);
    std::u16string voice = command.voice.empty() ? new_tag_name() : command.voice;
    // Both files are written whole before either replaces anything; a tag
    // trained again keeps the old pair until the new one is complete.
    os::FileReplacement tag_file(tag_path(voice));
    os::FileReplacement recording_file(recording_path(voice));
    bool written = tag_file.is_open() && recording_file.is_open()
        && tag->write_tag(tag_file.temporary_path())
        && tag->write_recording(recording_file.temporary_path()) && tag_file.commit()
        && recording_file.commit();
    if (!written) {
        os::log() << u"CommandStore::train_tag failed " << tag_path(voice) << u"\n";
        return { TagTraining::NotWritten };
    }
    command.voice = voice;
    command.voice_template = tag->voice_template();
    return { TagTraining::Stored };
}

TagTraining CommandStore::record_tag(Command& command, const std::vector<std::int16_t>& samples)
{
    platform::FolderLock guard = lock();
    bool is_new = !command.has_tag();
    TagTraining result = train_tag(command, samples);
    if (!result)
        return result;
    add_command(command);
    sort();
    if (save())
        return result;
    if (is_new) {
        for (Command& entry : commands_)
            if (entry.same_entry(command)) {
                entry.voice.clear();
                entry.voice_template = VoiceTemplate();
            }
        os::delete_file(tag_path(command.voice));
        os::delete_file(recording_path(command.voice));
        command.voice.clear();
        command.voice_template = VoiceTemplate();
    }
    return { TagTraining::NotWritten };
}

bool CommandStore::delete_tag(Command& command)
{
    if (!command.has_tag())
        return true;
    platform::FolderLock guard = lock();
    std::u16string voice = std::move(command.voice);
    VoiceTemplate voice_template = std::move(command.voice_template);
    command.voice.clear();
    command.voice_template = VoiceTemplate();
    // Taking a tag out keeps the order of the others, so the list is saved
    // as sorting would leave it.
    if (!save()) {
        command.voice = std::move(voice);
        command.voice_template = std::move(voice_template);
        return false;
    }
    os::delete_file(tag_path(voice));
    os::delete_file(recording_path(voice));
    os::delete_file(cache_path(voice));
    sort();
    return true;
}

void CommandStore::remove_orphans() const
{
    std::set<std::u16string> voices;
    bool list_read = true;
    if (os::FileInfo(commands_path()).exists()) {
        os::XmlNode root = os::find_child(os::load_xml_file(commands_path()), u"Commands");
        list_read = !root.empty();
        for (os::XmlNode entry = os::child_at(root, 0); entry; entry = os::next_sibling(entry)) {
            std::u16string voice;
            if (os::get_attribute(entry, u"voice", voice))
                voices.insert(voice);
        }
    }
    os::FileFinder finder;
    os::find_files(finder, directory_, u"*", u"", false);
    for (const std::u16string& path : finder.files) {
        std::u16string name = os::file_name_of(path);
        bool orphan = os::is_temporary_name(name)
            || (list_read && is_tag_file_extension(name)
                && voices.count(os::strip_extension(name)) == 0);
        if (orphan) {
            os::log() << u"CommandStore::remove_orphans " << name << u"\n";
            os::delete_file(os::join_path(directory_, name));
        }
    }
}

platform::FolderLock CommandStore::lock() const
{
    return lock(directory_);
}

platform::FolderLock CommandStore::lock(const std::u16string& directory)
{
    std::u16string parent = os::directory_of(os::strip_separator(directory));
    os::create_directories(parent);
    return platform::FolderLock(os::native_path(os::expand_path_for_writing(parent)));
}
