#include "app/Document.h"

#include "app/TrainedTag.h"
#include "engine/FeatureExtraction.h"
#include "liba/Convert.h"
#include "liba/Tick.h"
#include "os/FileFinder.h"
#include "os/Log.h"
#include "os/Path.h"
#include "os/Xml.h"

#include <algorithm>
#include <cstdint>
#include <optional>

namespace {

// A tag's base name names files inside the commands folder only; a stored
// name that would reach elsewhere was not written by this program.
bool is_safe_voice(const std::u16string& voice)
{
    return voice.find_first_of(u"/\\") == std::u16string::npos;
}

} // namespace

Document::Document(std::u16string app_path)
    : app_path_(std::move(app_path))
{
}

Document::~Document()
{
    stop_audio();
}

std::u16string Document::settings_path() const
{
    return os::join_path(app_path_, u"settings.xml");
}

std::u16string Document::commands_directory() const
{
    return os::join_path(app_path_, u"commands");
}

std::u16string Document::commands_path() const
{
    return os::join_path(commands_directory(), u"commands.xml");
}

std::u16string Document::tag_path(const std::u16string& voice) const
{
    return os::join_path(commands_directory(), voice + u".tag");
}

std::u16string Document::recording_path(const std::u16string& voice) const
{
    return os::join_path(commands_directory(), voice + u".wav");
}

void Document::load_settings()
{
    os::XmlNode document = os::load_xml_file(settings_path());
    os::XmlNode settings = os::find_child(document, u"Settings");
    os::get_attribute(os::find_child(settings, u"General"), u"PlaySound", play_sound);
    os::get_attribute(os::find_child(settings, u"General"), u"PlayCommands", play_commands);
    os::get_attribute(os::find_child(settings, u"General"), u"WaitConfirmation", wait_confirmation);
    // A present skin or language is taken even when empty; a missing one
    // falls back to the default.
    if (!os::get_attribute(os::find_child(settings, u"General"), u"Skin", skin))
        skin = DEFAULT_SKIN;
    if (!os::get_attribute(os::find_child(settings, u"General"), u"Language", language))
        language = DEFAULT_LANGUAGE;
}

void Document::save_settings()
{
    os::XmlNode document = os::new_xml_document();
    os::XmlNode settings = os::append_child(document, u"Settings");
    os::append_child(settings, u"General");
    os::XmlNode general = os::find_child(settings, u"General");
    os::set_attribute(general, u"PlaySound", play_sound);
    os::set_attribute(general, u"PlayCommands", play_commands);
    os::set_attribute(general, u"WaitConfirmation", wait_confirmation);
    os::set_attribute(general, u"Skin", skin);
    os::set_attribute(general, u"Language", language);
    os::save_xml_file(document, settings_path());
}

int Document::tag_count() const
{
    return static_cast<int>(std::count_if(
        commands.begin(), commands.end(), [](const Command& c) { return c.has_tag(); }));
}

void Document::add_command(const Command& command)
{
    auto same = std::find_if(
        commands.begin(), commands.end(), [&](const Command& c) { return c.same_entry(command); });
    if (same == commands.end()) {
        commands.push_back(command);
        return;
    }
    same->full_name = command.full_name;
    same->phone_type = command.phone_type;
    if (command.has_tag()) {
        same->voice = command.voice;
        same->voice_template = command.voice_template;
    }
}

void Document::add_contact(const os::ContactRecord& record)
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
    bool any = false;
    for (const auto& [phone, type] : numbers) {
        if (phone.empty())
            continue;
        add_command(make(phone, type));
        any = true;
    }
    if (!any && !full.empty())
        add_command(make(u"", u""));
}

void Document::sync_contacts()
{
    std::vector<os::ContactRecord> records;
    contacts.load_all(records);
    for (const os::ContactRecord& record : records)
        add_contact(record);
}

void Document::load_commands()
{
    os::XmlNode root = os::find_child(os::load_xml_file(commands_path()), u"Commands");
    int count = os::child_count(root);
    for (int i = 0; i < count; ++i) {
        os::XmlNode entry = os::child_at(root, i);
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
        add_command(command);
    }
}

void Document::save_commands()
{
    if (tag_count() == 0) {
        os::delete_file(commands_path());
        return;
    }
    os::XmlNode document = os::new_xml_document();
    os::XmlNode root = os::append_child(document, u"Commands");
    for (const Command& command : commands) {
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
    os::create_directories(commands_directory());
    os::save_xml_file(document, commands_path());
}

void Document::sort_commands()
{
    std::sort(commands.begin(), commands.end(), [](const Command& a, const Command& b) {
        if (a.has_tag() != b.has_tag())
            return a.has_tag();
        return a.name < b.name;
    });
}

std::u16string Document::new_tag_name() const
{
    os::FileFinder finder;
    os::find_files(finder, commands_directory(), u"*", u"", false);
    long largest = 0;
    for (const std::u16string& path : finder.files) {
        int number;
        if (liba::text_to_int(os::file_title_of(path), number))
            largest = std::max<long>(largest, number);
    }
    std::u16string text = liba::from_utf8(liba::to_text(largest + 1));
    if (text.size() < 3)
        text.insert(0, 3 - text.size(), u'0');
    return text;
}

std::vector<std::int16_t> Document::take_capture()
{
    audio::PCMData captured = capture_buffer.get_data(capture_buffer.count());
    std::vector<std::int16_t> samples;
    if (captured.channels != audio::CAPTURE_CHANNELS
        || captured.bits_per_sample != audio::CAPTURE_BITS
        || captured.sample_rate != audio::CAPTURE_SAMPLE_RATE
        || captured.length() <= audio::LEAD_IN_BYTES)
        return samples;
    const std::uint8_t* bytes = captured.bytes() + audio::LEAD_IN_BYTES;
    samples.resize(static_cast<std::size_t>((captured.length() - audio::LEAD_IN_BYTES) / 2));
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<std::int16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
    return samples;
}

bool Document::train_tag(Command& command)
{
    stop_audio();
    std::optional<TrainedTag> tag = TrainedTag::train(take_capture());
    if (!tag)
        return false;
    command.voice_template = tag->voice_template();
    os::create_directories(commands_directory());
    if (command.voice.empty())
        command.voice = new_tag_name();
    // Failures to write a tag's files are not reported, as for every file the
    // store writes; a missing file makes the tag score nothing.
    tag->write_tag(tag_path(command.voice));
    tag->write_recording(recording_path(command.voice));
    return true;
}

void Document::delete_tag(Command& command)
{
    if (!command.has_tag())
        return;
    stop_audio();
    os::delete_file(tag_path(command.voice));
    os::delete_file(recording_path(command.voice));
    command.voice.clear();
    command.voice_template = VoiceTemplate();
    sort_commands();
    save_commands();
}

bool Document::start_recording()
{
    capture_buffer.set_duration(audio::MAX_RECORD_SECONDS);
    release_recorder();
    recorder = std::make_unique<audio::RecorderPCM>(
        audio::CAPTURE_CHANNELS, audio::CAPTURE_SAMPLE_RATE, audio::CAPTURE_BITS);
    audio::connect<audio::PCMData>(*recorder, &capture_buffer);
    if (!recorder->is_open())
        return false;
    stopwatch = liba::tick_count();
    return recorder->start();
}

double Document::elapsed() const
{
    // The 32-bit difference stays right across the tick count's wrap.
    auto started = static_cast<std::uint32_t>(stopwatch);
    return static_cast<double>(liba::tick_count() - started) * 0.001;
}

bool Document::finish_recording(FeatureSet& features)
{
    stop_audio();
    std::vector<std::int16_t> samples = take_capture();
    features = extract_utterance(samples.data(), static_cast<std::int32_t>(samples.size() * 2));
    return features.count >= 1;
}

void Document::stop_audio()
{
    if (file_source) {
        audio::connect<audio::PCMData>(*file_source, nullptr);
        file_source.reset();
    }
    release_recorder();
}

void Document::release_recorder()
{
    if (!recorder)
        return;
    audio::connect<audio::PCMData>(*recorder, nullptr);
    recorder->stop();
    recorder.reset();
}

void Document::play_file(const std::u16string& path, std::uint32_t offset, bool wait)
{
    stop_audio();
    file_source = std::make_unique<audio::FileReaderWAVPCM>(path);
    file_source->rewind(offset);
    double seconds = file_source->total_seconds();
    audio::connect<audio::PCMData>(*file_source, &player);
    player.play();
    if (wait)
        player.wait_until_finished(seconds);
}

void Document::play(const std::u16string& path)
{
    os::log() << u"Document::play " << path << u"\n";
    play_file(path, 0, false);
}
