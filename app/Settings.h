#pragma once

#include <string>

// How the recognition run matches an utterance with the tags: the classic
// band-amplitude templates of the ".tag" files, or the precise matching of
// cepstra built from each tag's recording, which rejects words without a tag
// and marks doubtful matches for confirmation.
enum class MatchingEngine {
    Classic,
    Precise,
};

// The user's options and the settings.xml file that keeps them. Read once
// at start-up and written after every change, on the user-interface thread.
class Settings {
public:
    explicit Settings(std::u16string path);

    // Takes the options from the file. An option the file does not give keeps
    // its value, except the skin and the language, which fall back to their
    // defaults, and the matching engine, which is classic unless the file
    // says "precise"; a missing or damaged file is left as it is.
    void load();
    // Writes the six options, replacing whatever else the file held; false
    // (logged, the previous file intact) when the file cannot be written.
    bool save() const;

    // Deletes the temporaries of saves that a crash cut short.
    void remove_temporaries() const;

    const std::u16string& path() const { return path_; }

    static constexpr const char16_t* DEFAULT_SKIN = u"Default_Green";
    static constexpr const char16_t* DEFAULT_LANGUAGE = u"English";

    bool play_sound { true };
    bool play_commands { true };
    bool wait_confirmation { false };
    std::u16string skin { DEFAULT_SKIN };
    std::u16string language { DEFAULT_LANGUAGE };
    MatchingEngine engine { MatchingEngine::Classic };

private:
    std::u16string path_;
};
