#pragma once

#include "tests/app/ProgramFolder.h"

#include <cstdint>
#include <random>
#include <sstream>
#include <string>

// Runs of the real program over damaged and hostile files of its folder:
// every run must end by itself with exit code 0, without a sanitizer report.
class HostileFiles : public ProgramFolder {
protected:
    // Deterministic bytes: the raw output of a seeded generator, the same
    // on every machine.
    static std::string random_bytes(std::size_t size, std::uint32_t seed)
    {
        std::mt19937 generator(seed);
        std::string bytes(size, '\0');
        for (char& byte : bytes)
            byte = static_cast<char>(generator() & 0xFF);
        return bytes;
    }

public:
    // `text` `times` times over: the long runs that hostile files are made of.
    static std::string repeated(const std::string& text, std::size_t times)
    {
        std::string result;
        result.reserve(text.size() * times);
        for (std::size_t i = 0; i < times; ++i)
            result += text;
        return result;
    }

protected:
    static void expect_clean(const Result& result, const std::string& what)
    {
        EXPECT_EQ(result.status, 0) << what << "\n" << result.err;
        EXPECT_EQ(result.err.find("Sanitizer"), std::string::npos) << what << "\n" << result.err;
        EXPECT_EQ(result.err.find("runtime error"), std::string::npos) << what << "\n"
                                                                       << result.err;
    }

    std::string id_of(const std::string& first_name)
    {
        return shell(temp.native("ringwise-tool") + " contacts | awk -F'\\t' '$2==\"" + first_name
            + "\"{printf $1}'");
    }

    // The settings mode with `arguments`: dumps its form to form.txt, runs
    // `lines` and closes the form.
    Result settings_run(const std::string& arguments = "s", const std::string& lines = "")
    {
        std::filesystem::remove(temp.native("form.txt"));
        script(
            "wait-form FormSettings\ndump " + path("form.txt") + "\n" + lines + "command Exit\n");
        return run(arguments);
    }

    // Anna's tag, settings without sounds or playback, and the settings skin:
    // the folder most of the hostile runs start from.
    void tag_anna_with_quiet_settings()
    {
        tag("Anna", ANNA_PHONE, recording("anna-1"));
        write_settings(false, false, false);
        write_settings_skin();
    }

    // The grid's line of the dump the settings run wrote.
    std::string grid()
    {
        std::istringstream lines(temp.read("form.txt"));
        for (std::string line; std::getline(lines, line);)
            if (line.starts_with("control grid "))
                return line;
        return {};
    }

    // A recognition run hearing `recording`; its dialled numbers are in calls().
    Result recognise(const std::string& recording_name)
    {
        set("RINGWISE_MIC", recording(recording_name));
        ::unsetenv("RINGWISE_SCRIPT");
        return run();
    }
};
