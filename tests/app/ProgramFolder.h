#pragma once

#include "audio/FileWriterWAVPCM.h"
#include "tests/audio/AudioTestSupport.h"
#include "tests/support/TempDirectory.h"
#include "tools/skinc/SkinCompiler.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

// A temporary program folder for end-to-end runs of the real bin/Ringwise:
// the program and the tool that records tags are copied into it, so that
// "%app_path%" is this folder with its skins, settings and tags; contacts,
// registry, runtime folder, phone log, microphone and speaker are files in
// it as well. Headless, and calls go to the logging phone library.
class ProgramFolder : public ::testing::Test {
protected:
    static constexpr const char* ANNA_PHONE = "+49 170 1";
    static constexpr const char* OSCAR_PHONE = "030 2";

    void SetUp() override
    {
        namespace fs = std::filesystem;
        for (const char* name : { "Ringwise", "ringwise-tool", "libphone-log.so" })
            fs::copy_file(fs::path(RINGWISE_BINARY_DIR) / "bin" / name, temp.native(name));
        set("RINGWISE_HEADLESS", "1");
        set("RINGWISE_PHONE", temp.native("libphone-log.so"));
        set("RINGWISE_PHONE_LOG", temp.native("calls.log"));
        set("RINGWISE_CONTACTS", temp.native("contacts.vcf"));
        set("RINGWISE_REGISTRY", temp.native("registry.db"));
        set("RINGWISE_ROOT", temp.native("root"));
        set("XDG_RUNTIME_DIR", temp.native());
        set("RINGWISE_SPEAKER", temp.native("speaker.wav"));
        set("RINGWISE_MIC", silence());
        temp.write("contacts.vcf",
            "BEGIN:VCARD\nVERSION:3.0\nUID:anna\nN:Berg;Anna;;;\nTEL;TYPE=CELL:+49 170 1\n"
            "END:VCARD\nBEGIN:VCARD\nVERSION:3.0\nUID:oscar\nN:Lindqvist;Oscar;;;\n"
            "TEL;TYPE=WORK:030 2\nEND:VCARD\n");
        write_prompts();
        write_skin("Ringwise_1.0");
        fs::create_directories(temp.native("skins/settings"));
        fs::copy_file(fs::path(RINGWISE_BINARY_DIR) / "bin/skins/settings/dialogs.skin",
            temp.native("skins/settings/dialogs.skin"));
    }

    void TearDown() override
    {
        for (const char* name : { "RINGWISE_HEADLESS", "RINGWISE_PHONE", "RINGWISE_PHONE_LOG",
                 "RINGWISE_CONTACTS", "RINGWISE_REGISTRY", "RINGWISE_ROOT", "XDG_RUNTIME_DIR",
                 "RINGWISE_SPEAKER", "RINGWISE_MIC", "RINGWISE_SCRIPT" })
            ::unsetenv(name);
    }

    static void set(const char* name, const std::string& value)
    {
        ::setenv(name, value.c_str(), 1);
    }

    static std::string recording(const std::string& name)
    {
        return std::string(RINGWISE_SOURCE_DIR) + "/tests/data/tools/" + name + ".wav";
    }

    // A capture without speech.
    std::string silence()
    {
        if (!temp.exists("silence.wav"))
            write_wav("silence.wav", std::vector<std::int16_t>(22050 * 3, 0));
        return temp.native("silence.wav");
    }

    void write_wav(const std::string& name, const std::vector<std::int16_t>& samples)
    {
        std::filesystem::create_directories(std::filesystem::path(temp.native(name)).parent_path());
        audio::FileWriterWAVPCM writer(temp.wide(name));
        writer.on_data(audio_test::sample_block(samples));
    }

    // Three short tones of different pitch and length, so that the speaker
    // file tells which prompts played.
    void write_prompts()
    {
        auto tone = [](int hertz, int samples) {
            std::vector<std::int16_t> result(static_cast<std::size_t>(samples));
            for (int i = 0; i < samples; ++i)
                result[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(
                    8000 * std::sin(2 * 3.14159265358979 * hertz * i / 22050.0));
            return result;
        };
        write_wav("prompts/start.wav", tone(660, START_SAMPLES));
        write_wav("prompts/right.wav", tone(880, RIGHT_SAMPLES));
        write_wav("prompts/wrong.wav", tone(330, WRONG_SAMPLES));
    }
    static constexpr int START_SAMPLES = 2205;
    static constexpr int RIGHT_SAMPLES = 3307;
    static constexpr int WRONG_SAMPLES = 4410;

    // The recognition skin with every control of the form and its prompts,
    // as an archive in skins/Default_Green/.
    void write_skin(const std::string& version)
    {
        std::string source = "<skin version=\"" + version + "\">\n" + R"(
  <design width="240" height="320"/>
  <design index="1" width="480" height="640"/>
  <file path="prompts/start.wav"/>
  <file path="prompts/right.wav"/>
  <file path="prompts/wrong.wav"/>
  <form name="FormRecognizing">
    <point name="Size" value="220 260"/>
    <control name="frmName"><point name="Position" value="10 10"/><point name="Size" value="200 30"/></control>
    <control name="frmPhone"><point name="Position" value="10 45"/><point name="Size" value="200 20"/></control>
    <control name="chkListening"><point name="Position" value="10 70"/><point name="Size" value="200 20"/></control>
    <control name="chkProcessing"><point name="Position" value="10 95"/><point name="Size" value="200 20"/></control>
    <control name="chkFinished"><point name="Position" value="10 120"/><point name="Size" value="200 20"/></control>
    <control name="frmAccuracy"><point name="Position" value="10 145"/><point name="Size" value="200 20"/></control>
    <control name="progress"><point name="Position" value="10 170"/><point name="Size" value="200 12"/></control>
    <control name="btnCorrect"><point name="Position" value="10 200"/><point name="Size" value="95 30"/></control>
    <control name="btnWrong"><point name="Position" value="115 200"/><point name="Size" value="95 30"/></control>
  </form>
</skin>
)";
        temp.write("skin.xml", source);
        std::filesystem::create_directories(temp.native("skins/Default_Green"));
        std::string error;
        ASSERT_TRUE(skinc::compile_skin_file(temp.native("skin.xml"),
            temp.native("skins/Default_Green/Default_Green.skin"), true, error))
            << error;
    }

    // A settings skin that passes the settings mode's version check.
    void write_settings_skin()
    {
        temp.write("settings.xml.skin",
            "<skin version=\"Ringwise_settings_1.0\"><design width=\"240\" height=\"320\"/>"
            "<form name=\"FormSettings\"><point name=\"Size\" value=\"240 268\"/></form></skin>");
        std::string error;
        ASSERT_TRUE(skinc::compile_skin_file(temp.native("settings.xml.skin"),
            temp.native("skins/settings/settings.skin"), false, error))
            << error;
    }

    void write_settings(bool play_sound, bool play_commands, bool wait_confirmation)
    {
        auto flag = [](bool value) { return value ? "\"true\"" : "\"false\""; };
        temp.write("settings.xml",
            std::string("<Settings><General PlaySound=") + flag(play_sound)
                + " PlayCommands=" + flag(play_commands)
                + " WaitConfirmation=" + flag(wait_confirmation) + "/></Settings>");
    }

    // Records a tag for a contact's number with the tool, from a recording.
    void tag(const std::string& first_name, const std::string& phone, const std::string& wav)
    {
        std::string id = run_tool("contacts | awk -F'\\t' '$2==\"" + first_name + "\"{print $1}'");
        ASSERT_FALSE(id.empty());
        id.pop_back();
        std::string voice = run_tool("tag " + id + " '" + phone + "' " + wav);
        ASSERT_EQ(voice.rfind("voice ", 0), 0u) << voice;
    }

    std::string run_tool(const std::string& arguments)
    {
        std::string command = temp.native("ringwise-tool") + " " + arguments;
        std::string out;
        if (FILE* pipe = ::popen(command.c_str(), "r")) {
            char buffer[4096];
            for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
                out.append(buffer, n);
            ::pclose(pipe);
        }
        return out;
    }

    // A started Ringwise; its standard output and error go to files.
    struct Run {
        pid_t pid { -1 };
        std::string err_file;
        std::chrono::steady_clock::time_point started;
    };

    Run start(const std::vector<std::string>& arguments = {}, const std::string& name = "run")
    {
        Run run;
        run.err_file = temp.native(name + ".err");
        std::vector<std::string> words { temp.native("Ringwise") };
        words.insert(words.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (std::string& word : words)
            argv.push_back(word.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(
            &actions, 1, temp.native(name + ".out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addopen(
            &actions, 2, run.err_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        run.started = std::chrono::steady_clock::now();
        EXPECT_EQ(::posix_spawn(&run.pid, argv[0], &actions, nullptr, argv.data(), environ), 0);
        posix_spawn_file_actions_destroy(&actions);
        return run;
    }

    struct Result {
        int status { -1 };
        double seconds { 0 };
        std::string err;
    };

    Result finish(const Run& run)
    {
        Result result;
        int status = 0;
        if (::waitpid(run.pid, &status, 0) == run.pid && WIFEXITED(status))
            result.status = WEXITSTATUS(status);
        result.seconds
            = std::chrono::duration<double>(std::chrono::steady_clock::now() - run.started).count();
        result.err = temp.read(run.err_file.substr(temp.native().size() + 1));
        return result;
    }

    Result run(const std::vector<std::string>& arguments = {}) { return finish(start(arguments)); }

    // Plays a script of user actions in the next runs.
    void script(const std::string& lines)
    {
        temp.write("script.txt", lines);
        set("RINGWISE_SCRIPT", temp.native("script.txt"));
    }

    // Waits until a file exists, which a run's script writes; false after
    // the limit.
    bool wait_for_file(const std::string& name, std::chrono::seconds limit)
    {
        auto deadline = std::chrono::steady_clock::now() + limit;
        while (!temp.exists(name)) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return true;
    }

    std::string calls() { return temp.read("calls.log"); }

    // The shipped recognition skin and English texts in place of the test's.
    void use_shipped_assets()
    {
        namespace fs = std::filesystem;
        fs::path bin = fs::path(RINGWISE_BINARY_DIR) / "bin";
        fs::copy_file(bin / "skins/Default_Green/Default_Green.skin",
            temp.native("skins/Default_Green/Default_Green.skin"),
            fs::copy_options::overwrite_existing);
        fs::copy_file(bin / "English.lng", temp.native("English.lng"));
    }

    // Bytes of audio the speaker received.
    std::size_t speaker_bytes()
    {
        std::string wav = temp.read("speaker.wav");
        return wav.size() < 44 ? 0 : wav.size() - 44;
    }

    TempDirectory temp;
};
