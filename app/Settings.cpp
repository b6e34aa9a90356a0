#include "app/Settings.h"

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

void Settings::save() const
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
    os::save_xml_file(document, path_);
}
