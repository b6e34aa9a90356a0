#include "tools/ringwise-tool/ToolCommand.h"

namespace tool {

// Each subcommand lives in its own file and adds one line here.
int run_skin(const std::vector<std::string>& arguments);
int run_extent(const std::vector<std::string>& arguments);
int run_features(const std::vector<std::string>& arguments);
int run_train(const std::vector<std::string>& arguments);
int run_match(const std::vector<std::string>& arguments);
int run_dump(const std::vector<std::string>& arguments);
int run_record(const std::vector<std::string>& arguments);
int run_play(const std::vector<std::string>& arguments);
int run_contacts(const std::vector<std::string>& arguments);
int run_commands(const std::vector<std::string>& arguments);
int run_tag(const std::vector<std::string>& arguments);
int run_untag(const std::vector<std::string>& arguments);
int run_call(const std::vector<std::string>& arguments);
int run_picture(const std::vector<std::string>& arguments);
int run_show(const std::vector<std::string>& arguments);
int run_dialog(const std::vector<std::string>& arguments);
int run_settings(const std::vector<std::string>& arguments);
int run_backup(const std::vector<std::string>& arguments);
int run_restore(const std::vector<std::string>& arguments);

const std::vector<ToolCommand>& tool_commands()
{
    static const std::vector<ToolCommand> commands = {
        { "skin",
            "skin FILE.skin [--screen WxH] [--platform PocketPC|Smartphone] [--tag TAG] [--kind "
            "KIND]",
            "loads a skin as the program would and prints its header, scale, work area and variant "
            "choice",
            run_skin },
        { "picture",
            "picture SKIN.skin KIND ID PROPERTY WxH OUT.png [--screen WxH] [--background RRGGBB]",
            "draws the picture property of control ID in form KIND (empty KIND: the top-level node "
            "ID; empty ID: the\n      form's own property) with the nine-part rules into a W x H "
            "canvas of the background colour (default 000000)\n      and writes it as a PNG; the "
            "screen defaults to RINGWISE_SCREEN or 480x640; exit 1 when the skin is invalid or the "
            "node or property is missing",
            run_picture },
        { "show", "show SKIN.skin KIND [--screen WxH] [--platform PocketPC|Smartphone]",
            "opens the form KIND of the skin on the screen, placed as the program places it, with "
            "its automatic\n      controls, and runs it until it closes (close button, Escape): "
            "exit 0; exit 1 for an invalid skin or a\n      kind it lacks. RINGWISE_SCRIPT plays a "
            "script of user actions on it",
            run_show },
        { "dialog",
            "dialog explorer|about [--skin FILE.skin] [--language FILE.lng] [--folder DIR] "
            "[--extension EXT]... [--screen WxH] [--platform PocketPC|Smartphone]",
            "runs the file explorer dialog (in DIR, its filter given by the extensions) or the "
            "About form (reading portal.txt and\n      fun/ in DIR) on the dialogs skin, by "
            "default "
            "skins/settings/dialogs.skin and English.lng beside the\n      program; the explorer "
            "prints 'path PATH' or 'cancelled'. RINGWISE_SCRIPT plays a script of user actions on "
            "it",
            run_dialog },
        { "settings",
            "settings [--command-line TEXT] [--screen WxH] [--platform PocketPC|Smartphone]",
            "runs the settings form with the document and the settings skin of the program's "
            "folder, started with the\n      command line TEXT (default 's'); prints 'shown yes' "
            "or "
            "'shown no', and after the form closed 'selected ID PHONE'\n      or 'selected none'. "
            "RINGWISE_SCRIPT plays a script of user actions on it",
            run_settings },
        { "extent", "extent IN.wav [--no-lead-in]",
            "prints 'extent START END', where the speech lies as byte offsets into the audio after "
            "the lead-in, or 'extent none' (exit 1).\n      IN.wav is read as one capture of the "
            "program: 16-bit mono PCM at 22050 Hz (anything else: exit 2),\n      at most its "
            "first 2.7 s, without its first 8820 bytes (the lead-in) unless --no-lead-in is given",
            run_extent },
        { "features", "features IN.wav [--step N] [--no-lead-in]",
            "prints 'frames COUNT', then one line of four band amplitudes per frame; frames every "
            "N samples (default 384, an utterance)",
            run_features },
        { "train", "train IN.wav OUT [--no-lead-in]",
            "trains a voice tag as the program does: writes the template (threshold 0.2) to "
            "OUT.tag and the recording\n      trimmed to the speech to OUT.wav, prints 'extent "
            "START END'; without speech prints 'no speech found' on\n      standard error, writes "
            "nothing and exits 1",
            run_train },
        { "match", "match [--engine classic|precise] IN.wav TAG... [--no-lead-in]",
            "classic (the default): prints 'TAG D0 D1 D2 ACCURACY' per tag (its distances over the "
            "three variants and its\n      accuracy), then 'result INDEX ACCURACY' (the 1-based "
            "winner, accuracy truncated) or 'result none' (exit 1).\n      precise: matches "
            "cepstra of each tag's recording (TAG with .wav for .tag; cached in TAG with "
            ".cepstra)\n      and prints 'TAG DISTANCE REFERENCE' per tag (its warping distance "
            "and the distance its fellow tags\n      set for it; 'TAG unusable' without a "
            "readable recording), then 'result INDEX ACCURACY' for a sure match,\n      "
            "'result INDEX ACCURACY unsure' for a doubtful one (the program asks first) or "
            "'result none' (exit 1)",
            run_match },
        { "dump", "dump TAG",
            "prints a .tag file: 'threshold', then per variant 'variant', 'count', "
            "'segment_count', 'segment_start',\n      'segment_end' and a 'normalized' and a "
            "'frames' line of four values per frame; 'invalid tag' (exit 1) for a damaged file",
            run_dump },
        { "record", "record OUT.wav [--seconds S]",
            "records S seconds (default 2.7) from the microphone as the program does and writes "
            "them to OUT.wav;\n      exit 1 when no capture device opens or it delivers less",
            run_record },
        { "play", "play IN.wav",
            "plays a WAV file through the speaker as the program does and returns when it has "
            "finished;\n      exit 1 when no output device plays it in the file's duration plus 2 "
            "s",
            run_play },
        { "contacts", "contacts",
            "lists the contacts store (RINGWISE_CONTACTS, else the phone's address books) as the "
            "program reads it, one contact a line:\n      "
            "'ID<TAB>FIRST<TAB>LAST<TAB>COMPANY<TAB>MOBILE<TAB>BUSINESS<TAB>HOME'",
            run_contacts },
        { "commands", "commands",
            "lists the commands as the settings screen shows them (contacts merged with the stored "
            "tags, tagged\n      ones first): "
            "'ID<TAB>NAME<TAB>FULL_NAME<TAB>PHONE<TAB>PHONE_TYPE<TAB>VOICE'; the store is the one "
            "beside the tool",
            run_commands },
        { "tag", "tag ID PHONE IN.wav",
            "records a voice tag for the command of contact ID and number PHONE from IN.wav (taken "
            "as one capture),\n      stores it and prints 'voice NAME'; without speech prints 'no "
            "speech found' on standard error, changes\n      nothing and exits 1; an unknown "
            "command or a WAV in another format exits 2",
            run_tag },
        { "untag", "untag ID PHONE",
            "deletes the voice tag of the command of contact ID and number PHONE; exit 1 when it "
            "has none",
            run_untag },
        { "backup", "backup FILE",
            "saves every voice tag (all files of the commands folder beside the tool) into one "
            "backup file;\n      \".vcb\" is appended unless FILE ends with it (any case); an "
            "earlier file of that name stays until\n      the new one is complete; exit 1 when it "
            "cannot be written",
            run_backup },
        { "restore", "restore FILE",
            "replaces the voice tags with those of a backup file (\".vcb\" appended as for "
            "backup); a file without\n      the version entry, cut short or damaged, or one that "
            "cannot be written completely changes nothing:\n      exit 1",
            run_restore },
        { "call", "call NUMBER",
            "places a call through the phone library (RINGWISE_PHONE, else libphone.so beside the "
            "tool); exit 1\n      when the call fails",
            run_call },
    };
    return commands;
}

} // namespace tool
