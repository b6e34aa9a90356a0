#pragma once

#include "audio/FileWriterWAVPCM.h"
#include "tests/audio/AudioTestSupport.h"
#include "tests/support/TempDirectory.h"
#include "tools/skinc/SkinCompiler.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

// A temporary program folder for end-to-end runs of the real bin/Ringwise:
// the program and the tool that records tags are copied into it, so that
// "%app_path%" is this folder with its skins, settings and tags; contacts,
// registry, runtime folder, phone log, microphone and speaker are files in
// it too. Headless; calls go to the logging phone library.
class ProgramFolder : public ::testing::Test {
protected:
    static constexpr const char* ANNA_PHONE = "+49 170 1";
    static constexpr const char* OSCAR_PHONE = "030 2";
    static constexpr int START_SAMPLES = 2205;
    static constexpr int RIGHT_SAMPLES = 3307;
    static constexpr int WRONG_SAMPLES = 4410;

    void SetUp() override
    {
        namespace fs = std::filesystem;
        fs::path bin = fs::path(RINGWISE_BINARY_DIR) / "bin";
        for (const char* name : { "Ringwise", "ringwise-tool", "libphone-log.so" })
            fs::copy_file(bin / name, temp.native(name));
        fs::create_directories(temp.native("skins/settings"));
        fs::copy_file(
            bin / "skins/settings/dialogs.skin", temp.native("skins/settings/dialogs.skin"));
        for (auto [name, file] :
            { std::pair { "PHONE", "libphone-log.so" }, { "PHONE_LOG", "calls.log" },
                { "CONTACTS", "contacts.vcf" }, { "REGISTRY", "registry.db" }, { "ROOT", "root" },
                { "SPEAKER", "speaker.wav" }, { "MIC", "silence.wav" } })
            set((std::string("RINGWISE_") + name).c_str(), temp.native(file));
        set("RINGWISE_HEADLESS", "1");
        set("XDG_RUNTIME_DIR", temp.native());
        ::unsetenv("RINGWISE_SCRIPT");
        temp.write("contacts.vcf",
            "BEGIN:VCARD\nVERSION:3.0\nUID:anna\nN:Berg;Anna;;;\nTEL;TYPE=CELL:+49 170 1\n"
            "END:VCARD\nBEGIN:VCARD\nVERSION:3.0\nUID:oscar\nN:Lindqvist;Oscar;;;\n"
            "TEL;TYPE=WORK:030 2\nEND:VCARD\n");
        write_wav("silence.wav", std::vector<std::int16_t>(22050 * 3, 0));
        // Tones of different lengths, so that the speaker file tells which played.
        write_wav("prompts/start.wav", tone(START_SAMPLES));
        write_wav("prompts/right.wav", tone(RIGHT_SAMPLES));
        write_wav("prompts/wrong.wav", tone(WRONG_SAMPLES));
        write_skin("Ringwise_1.0");
    }

    static void set(const char* name, const std::string& value)
    {
        ::setenv(name, value.c_str(), 1);
    }

    static std::string recording(const std::string& name)
    {
        return std::string(RINGWISE_SOURCE_DIR) + "/tests/data/tools/" + name + ".wav";
    }

    static std::vector<std::int16_t> tone(int samples)
    {
        std::vector<std::int16_t> result(static_cast<std::size_t>(samples));
        for (std::size_t i = 0; i < result.size(); ++i)
            result[i] = static_cast<std::int16_t>(8000 * std::sin(0.2 * static_cast<double>(i)));
        return result;
    }

    void write_wav(const std::string& name, const std::vector<std::int16_t>& samples)
    {
        std::filesystem::create_directories(std::filesystem::path(temp.native(name)).parent_path());
        audio::FileWriterWAVPCM writer(temp.wide(name));
        writer.on_data(audio_test::sample_block(samples));
    }

    // A skin of every control of the form with the prompts, compiled from
    // `body` as `path` (an archive unless `plain`).
    void compile(const std::string& path, const std::string& version, const std::string& body,
        bool plain = false)
    {
        temp.write("skin.xml",
            "<skin version=\"" + version
                + "\"><design width=\"240\" height=\"320\"/>"
                  "<design index=\"1\" width=\"480\" height=\"640\"/>"
                + body + "</skin>");
        std::filesystem::create_directories(std::filesystem::path(temp.native(path)).parent_path());
        std::string error;
        ASSERT_TRUE(
            skinc::compile_skin_file(temp.native("skin.xml"), temp.native(path), !plain, error))
            << error;
    }

    void write_skin(const std::string& version)
    {
        std::string body = "<file path=\"prompts/start.wav\"/><file path=\"prompts/right.wav\"/>"
                           "<file path=\"prompts/wrong.wav\"/><form name=\"FormRecognizing\">"
                           "<point name=\"Size\" value=\"220 260\"/>";
        int y = 10;
        for (const char* id : { "frmName", "frmPhone", "chkListening", "chkProcessing",
                 "chkFinished", "frmAccuracy", "progress", "btnCorrect", "btnWrong" }) {
            body += std::string("<control name=\"") + id + "\"><point name=\"Position\" value=\"10 "
                + std::to_string(y) + "\"/><point name=\"Size\" value=\"200 22\"/></control>";
            y += 26;
        }
        compile("skins/Default_Green/Default_Green.skin", version, body + "</form>");
    }

    // The settings skin the build ships.
    void write_settings_skin()
    {
        std::filesystem::copy_file(
            std::filesystem::path(RINGWISE_BINARY_DIR) / "bin/skins/settings/settings.skin",
            temp.native("skins/settings/settings.skin"),
            std::filesystem::copy_options::overwrite_existing);
    }

    void write_settings(bool play_sound, bool play_commands, bool wait_confirmation)
    {
        auto flag = [](bool value) { return value ? "\"true\"" : "\"false\""; };
        temp.write("settings.xml",
            std::string("<Settings><General PlaySound=") + flag(play_sound)
                + " PlayCommands=" + flag(play_commands)
                + " WaitConfirmation=" + flag(wait_confirmation) + "/></Settings>");
    }

    // Records a tag for a contact's number from a recording, with the tool.
    void tag(const std::string& first_name, const std::string& phone, const std::string& wav)
    {
        std::string tool = temp.native("ringwise-tool");
        std::string id
            = shell(tool + " contacts | awk -F'\\t' '$2==\"" + first_name + "\"{printf $1}'");
        ASSERT_EQ(shell(tool + " tag " + id + " '" + phone + "' " + wav).rfind("voice ", 0), 0u);
    }

    static std::string shell(const std::string& command)
    {
        std::string out;
        if (FILE* pipe = ::popen(command.c_str(), "r")) {
            char buffer[4096];
            for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
                out.append(buffer, n);
            ::pclose(pipe);
        }
        return out;
    }

    // A started Ringwise; its standard error goes to NAME.err.
    struct Run {
        pid_t pid { -1 };
        std::string name;
        std::chrono::steady_clock::time_point started { std::chrono::steady_clock::now() };
    };

    Run start(const std::string& arguments = "", const std::string& name = "run")
    {
        Run run { ::fork(), name };
        if (run.pid == 0) {
            std::string command = "exec '" + temp.native("Ringwise") + "' " + arguments + " 2>'"
                + temp.native(name + ".err") + "' >/dev/null";
            ::execl("/bin/sh", "sh", "-c", command.c_str(), nullptr);
            ::_exit(127);
        }
        return run;
    }

    // The exit code; -1 after a signal, HUNG when the run outlived its bound.
    static constexpr int HUNG = -2;
    struct Result {
        int status { -1 };
        double seconds { 0 };
        std::string err;
    };

    // Waits for the run to end, at most `bound`: a run still going then is
    // killed and reported as HUNG.
    Result finish(const Run& run, std::chrono::seconds bound = std::chrono::seconds(120))
    {
        int status = 0;
        Result result;
        auto deadline = std::chrono::steady_clock::now() + bound;
        pid_t ended = 0;
        while ((ended = ::waitpid(run.pid, &status, WNOHANG)) == 0
            && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (ended == 0) {
            ::kill(run.pid, SIGKILL);
            ::waitpid(run.pid, &status, 0);
            result.status = HUNG;
        } else if (ended == run.pid && WIFEXITED(status)) {
            result.status = WEXITSTATUS(status);
        }
        result.seconds
            = std::chrono::duration<double>(std::chrono::steady_clock::now() - run.started).count();
        result.err = temp.read(run.name + ".err");
        return result;
    }

    Result run(const std::string& arguments = "") { return finish(start(arguments)); }

    // The next runs play these script lines; FILE stands for a file in the folder.
    void script(const std::string& lines)
    {
        temp.write("script.txt", lines);
        set("RINGWISE_SCRIPT", temp.native("script.txt"));
    }
    std::string path(const std::string& name) { return temp.native(name); }

    // Waits for a file that a run's script writes; false after 30 s.
    bool wait_for_file(const std::string& name)
    {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!temp.exists(name) && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        return temp.exists(name);
    }

    std::string calls() { return temp.read("calls.log"); }

    std::size_t speaker_bytes()
    {
        std::size_t size = temp.read("speaker.wav").size();
        return size < 44 ? 0 : size - 44;
    }

    TempDirectory temp;
};
