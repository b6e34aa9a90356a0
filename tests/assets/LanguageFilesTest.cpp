// The language files in the program folder, read by the program's own
// translator: every key the program and its skins look up has a text in
// every language, no key is given twice, and no entry swallows the next line.
#include "liba/StringTranslator.h"
#include "os/File.h"
#include "os/LanguageFinder.h"
#include "platform/Convert.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

namespace {

const std::string PROGRAM_FOLDER = RINGWISE_BINARY_DIR "/bin";
const char* const LANGUAGES[] = { "English", "German" };

// Keys that the program's forms look up in code.
const char16_t* const PROGRAM_KEYS[] = { u"Warning", u"Skin_failed", u"Settings_skin_failed",
    u"No_recorded_tags", u"Call_failed", u"Cancel", u"Correct", u"Wrong", u"Accuracy",
    u"Not_recognized", u"menuSoftButtonOk", u"menuSoftButtonMenu", u"menuCut", u"menuCopy",
    u"menuPaste", u"menuDelete", u"menuSelectAll", u"on_picture_failed_to_load", u"Menu", u"Record",
    u"Play", u"Delete", u"Refresh", u"Settings", u"Play_sound", u"Play_commands",
    u"Wait_confirmation", u"Precise_matching", u"Skin", u"Language", u"Backup_restore",
    u"Backup_tags", u"Restore_tags", u"Help", u"About", u"Exit", u"Save_file", u"Select_file",
    u"Backup_error", u"Restore_error", u"Settings_save_error", u"Tag_save_error", u"Help_link",
    u"Label_file_name", u"Ok", u"Tarn_URL", u"_LOGO_S", u"_LOGO_M", u"_LOGO_URL" };

std::u16string path_of(const std::string& language)
{
    return platform::from_utf8(PROGRAM_FOLDER + "/" + language + ".lng");
}

liba::StringTranslator load(const std::string& language)
{
    liba::StringTranslator translator;
    os::File file(path_of(language), 0);
    EXPECT_TRUE(translator.load(file, path_of(language))) << language;
    return translator;
}

std::string read_bytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

// The keys of a language file's lines in file order, comments left out.
std::vector<std::u16string> keys_in_order(const std::string& language)
{
    std::u16string text
        = liba::StringTranslator::decode(read_bytes(PROGRAM_FOLDER + "/" + language + ".lng"));
    std::vector<std::u16string> keys;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of(u"\r\n", start);
        if (end == std::u16string::npos)
            end = text.size();
        std::u16string line = text.substr(start, end - start);
        start = end + 1;
        std::size_t first = line.find_first_not_of(u" \t");
        if (first == std::u16string::npos || line.compare(first, 2, u"//") == 0)
            continue;
        std::size_t token_end = line.find_first_of(u" \t", first);
        std::u16string token = line.substr(first, token_end - first);
        bool has_value = token.ends_with(u'=')
            || (token_end != std::u16string::npos
                && line.find_first_not_of(u" \t", token_end) != std::u16string::npos);
        EXPECT_TRUE(has_value) << platform::to_utf8(token) << " has no text on its line";
        if (token.ends_with(u'='))
            token.pop_back();
        keys.push_back(token);
    }
    return keys;
}

// The texts that the skins' sources pass through the language table.
std::set<std::u16string> skin_keys()
{
    std::set<std::u16string> keys;
    for (const auto& entry :
        std::filesystem::recursive_directory_iterator(RINGWISE_SOURCE_DIR "/assets/skins")) {
        if (entry.path().extension() != ".xml")
            continue;
        std::string source = read_bytes(entry.path().string());
        for (const char* property :
            { "<string name=\"Text\" value=\"", "<string name=\"CheckedText\" value=\"" }) {
            std::string opening = property;
            for (std::size_t at = source.find(opening); at != std::string::npos;
                 at = source.find(opening, at + 1)) {
                std::size_t begin = at + opening.size();
                std::size_t end = source.find('"', begin);
                if (end != std::string::npos && end > begin)
                    keys.insert(platform::from_utf8(source.substr(begin, end - begin)));
            }
        }
    }
    return keys;
}

TEST(LanguageFiles, LieInTheProgramFolderWhereTheFinderLooks)
{
    os::LanguageFinder finder(platform::from_utf8(PROGRAM_FOLDER));
    for (const char* language : LANGUAGES)
        EXPECT_NE(std::find(finder.languages.begin(), finder.languages.end(), path_of(language)),
            finder.languages.end())
            << language;
}

TEST(LanguageFiles, AreUtf16WithAByteOrderMark)
{
    for (const char* language : LANGUAGES) {
        std::string bytes = read_bytes(PROGRAM_FOLDER + "/" + language + ".lng");
        ASSERT_GE(bytes.size(), 2u);
        EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE") << language;
        EXPECT_EQ(bytes.size() % 2, 0u) << language;
    }
}

TEST(LanguageFiles, EnglishTranslatesTheRecognitionTexts)
{
    liba::StringTranslator english = load("English");
    auto text = [&](const char16_t* key) { return english.translate(key, u"(missing)"); };
    EXPECT_EQ(text(u"Accuracy"), u"Accuracy");
    EXPECT_EQ(text(u"Not_recognized"), u"Not recognized");
    EXPECT_EQ(text(u"Call_failed"), u"The call could not be placed.");
    EXPECT_EQ(text(u"Listening"), u"Listening");
    EXPECT_EQ(text(u"menuSoftButtonMenu"), u"Menu");
    EXPECT_EQ(text(u"Backup_tags"), u"Back up tags\u2026");
    // The About box's links lead to the user guide shipped beside the program.
    EXPECT_EQ(text(u"Tarn_URL"), u"%app_path%/ringwise-help.html");
    EXPECT_EQ(text(u"Ringwise_LOGO_S"), u"ringwise_s.png");
}

TEST(LanguageFiles, GermanKeepsItsUmlauts)
{
    liba::StringTranslator german = load("German");
    EXPECT_EQ(german.translate(u"menuPaste", u""), u"Einfügen");
    EXPECT_EQ(german.translate(u"Menu", u""), u"Menü");
}

TEST(LanguageFiles, GiveEveryKeyOnce)
{
    for (const char* language : LANGUAGES) {
        std::vector<std::u16string> keys = keys_in_order(language);
        std::set<std::u16string> seen;
        for (const std::u16string& key : keys)
            EXPECT_TRUE(seen.insert(key).second) << language << ": " << platform::to_utf8(key);
        EXPECT_EQ(load(language).entries().size(), keys.size()) << language;
    }
}

TEST(LanguageFiles, EveryLanguageHasEveryKeyOfEnglish)
{
    liba::StringTranslator english = load("English");
    for (const char* language : LANGUAGES) {
        liba::StringTranslator translator = load(language);
        for (const auto& [key, text] : english.entries())
            EXPECT_TRUE(translator.entries().contains(key))
                << language << " lacks " << platform::to_utf8(key);
        EXPECT_EQ(translator.entries().size(), english.entries().size()) << language;
    }
}

TEST(LanguageFiles, TranslateEveryKeyOfTheProgramAndItsSkins)
{
    std::set<std::u16string> keys(std::begin(PROGRAM_KEYS), std::end(PROGRAM_KEYS));
    std::set<std::u16string> shown = skin_keys();
    EXPECT_TRUE(shown.contains(u"Listening"));
    keys.insert(shown.begin(), shown.end());
    liba::StringTranslator english = load("English");
    for (const std::u16string& key : keys)
        EXPECT_TRUE(english.entries().contains(key)) << platform::to_utf8(key);
}

TEST(LanguageFiles, HelpLinkNamesAFileOfTheProgramFolder)
{
    for (const char* language : LANGUAGES) {
        std::u16string link = load(language).translate(u"Help_link", u"");
        ASSERT_FALSE(link.empty()) << language;
        EXPECT_TRUE(std::filesystem::exists(PROGRAM_FOLDER + "/" + platform::to_utf8(link)))
            << language;
    }
}

} // namespace
