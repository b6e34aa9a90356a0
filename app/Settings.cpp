#include "app/Settings.h"

#include "os/FileFinder.h"
#include "os/FileReplacement.h"
#include "os/Log.h"
#include "os/Path.h"
#include "os/Xml.h"

#include <utility>

Settings::Settings(std::u16string path)
    : path_(std::move(path))
{
}

void Settings::load()
{
    os::XmlNode document = os::load_xml_file(path_);
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
    // Lower-case, as the attribute's values: older programs skip it unread.
    std::u16string engine_name;
    if (os::get_attribute(os::find_child(settings, u"General"), u"engine", engine_name))
        engine = engine_name == u"precise" ? MatchingEngine::Precise : MatchingEngine::Classic;
}

bool Settings::save() const
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
    // The classic engine is what a file without the attribute means: its
    // settings files stay exactly as they were before there was a choice.
    if (engine == MatchingEngine::Precise)
        os::set_attribute(general, u"engine", u"precise");
    if (os::save_xml_file(document, path_))
        return true;
    os::log() << u"Settings::save failed " << path_ << u"\n";
    return false;
}

void Settings::remove_temporaries() const
{
    std::u16string prefix = os::file_name_of(path_) + u".";
    os::FileFinder finder;
    os::find_files(finder, os::directory_of(path_), u"*", u"", false);
    for (const std::u16string& found : finder.files) {
        std::u16string name = os::file_name_of(found);
        if (name.compare(0, prefix.size(), prefix) == 0 && os::is_temporary_name(name)) {
            os::log() << u"Settings::remove_temporaries " << name << u"\n";
            os::delete_file(os::join_path(os::directory_of(path_), name));
        }
    }
}
