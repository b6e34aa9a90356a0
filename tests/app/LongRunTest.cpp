#include "app/Document.h"
#include "app/FormRecognizing.h"
#include "platform/Tick.h"
#include "skinner/PictureCache.h"
#include "skinner/Skin.h"
#include "tests/app/ProgramFolder.h"

#include <csignal>
#include <cstdio>
#include <fstream>
#include <sstream>

// Long runs on a device clock fifty times faster than real time (the test
// runs with RINGWISE_DEVICE_SPEED=50): 500 recognitions in one process as
// the program runs them, 200 tag recordings through the real program's
// settings screen, and recognitions of the real program one after another.
// Resident memory, open files and threads must stay flat; no lock file may
// be left behind, and a killed program must not block the next start. The
// figures go to standard output.

// The address sanitizer holds freed blocks back (256 MB by default), which
// would show as growth: a small hold keeps the measured memory the
// program's own. ASAN_OPTIONS still overrides it.
extern "C" const char* __asan_default_options()
{
    return "quarantine_size_mb=16";
}

namespace {

namespace fs = std::filesystem;

struct Usage {
    long resident_kb { 0 };
    long threads { 0 };
    long files { 0 };
};

Usage usage_of(const std::string& process)
{
    Usage usage;
    std::ifstream status("/proc/" + process + "/status");
    for (std::string line; std::getline(status, line);) {
        std::istringstream fields(line);
        std::string key;
        fields >> key;
        if (key == "VmRSS:")
            fields >> usage.resident_kb;
        else if (key == "Threads:")
            fields >> usage.threads;
    }
    std::error_code error;
    for (fs::directory_iterator it("/proc/" + process + "/fd", error), end; !error && it != end;
         it.increment(error))
        ++usage.files;
    return usage;
}

std::string figures(const std::vector<Usage>& samples)
{
    std::string text;
    for (const Usage& usage : samples)
        text += " [" + std::to_string(usage.resident_kb) + " kB, " + std::to_string(usage.files)
            + " fds, " + std::to_string(usage.threads) + " threads]";
    return text;
}

// Flat: from the sample at `baseline` on (once what is loaded once and the
// sanitizer's hold on freed blocks are full), no more than `kilobytes` of
// growth, and no more files or threads than the baseline shows with its
// playback still open (`extra`).
void expect_flat(const std::vector<Usage>& samples, std::size_t baseline, long kilobytes,
    long extra, const std::string& what)
{
    std::printf("%s:%s\n", what.c_str(), figures(samples).c_str());
    ASSERT_GT(samples.size(), baseline + 1);
    const Usage& first = samples[baseline];
    for (std::size_t i = baseline + 1; i < samples.size(); ++i) {
        EXPECT_LE(samples[i].resident_kb, first.resident_kb + kilobytes)
            << what << figures(samples);
        EXPECT_LE(samples[i].files, first.files + extra) << what << figures(samples);
        EXPECT_LE(samples[i].threads, first.threads + extra) << what << figures(samples);
    }
}

std::vector<std::string> lock_files(const std::string& folder)
{
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().extension() == ".lock")
            found.push_back(entry.path().filename().string());
    return found;
}

std::size_t lines_of(const std::string& text)
{
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

class LongRuns : public ProgramFolder {
protected:
    void SetUp() override
    {
        ProgramFolder::SetUp();
        ASSERT_GE(platform::device_speed(), 10u) << "run with RINGWISE_DEVICE_SPEED=50";
        write_settings_skin();
        write_settings(false, false, false);
        tag("Anna", ANNA_PHONE, recording("anna-1"));
        tag("Oscar", OSCAR_PHONE, recording("oscar-1"));
        set("RINGWISE_MIC", recording("anna-2"));
    }
};

TEST_F(LongRuns, FiveHundredRecognitionsInOneProcessStayFlat)
{
    constexpr int RUNS = 500;
    constexpr int EVERY = 50;
    skinner::PictureCache::install();
    Document document(temp.wide());
    document.load_settings();
    document.load_commands();
    skinner::Skin skin(temp.wide("skins/Default_Green/Default_Green.skin"), { 480, 640 });
    ASSERT_TRUE(skin.check_version(u"Ringwise_1.0", { 480, 640 }));
    std::vector<Usage> samples { usage_of("self") };
    auto started = std::chrono::steady_clock::now();
    for (int run = 1; run <= RUNS; ++run) {
        FormRecognizing form(skin);
        form.start_run();
        form.do_modal();
        if (run % EVERY == 0 || run == 1)
            samples.push_back(usage_of("self"));
    }
    double seconds
        = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("%d recognitions in %.1f s\n", RUNS, seconds);
    // Every run recognised Anna and dialled her.
    std::string log = calls();
    EXPECT_EQ(lines_of(log), static_cast<std::size_t>(RUNS));
    EXPECT_EQ(log.find("030 2"), std::string::npos);
    expect_flat(samples, 2, 8192, 0, "recognitions (start, run 1, every 50th)");
}

TEST_F(LongRuns, TwoHundredRecordingsThroughTheProgramStayFlatAndLeaveOneWholeTag)
{
    constexpr int RECORDINGS = 200;
    constexpr int EVERY = 25;
    std::string oscar = shell(
        temp.native("ringwise-tool") + " contacts | awk -F'\\t' '$2==\"Oscar\"{printf $1}'");
    set("RINGWISE_MIC", recording("oscar-2"));
    // Each recording takes 2.7 s of the device's clock and is trained at the
    // form's next tick after that; the script goes on 1.3 s later. At each
    // sampling point the script dumps a mark and idles while it is sampled.
    std::string lines
        = "wait-form FormSettings 600000\ndump " + path("mark-0.txt") + "\nwait 20000\n";
    for (int i = 1; i <= RECORDINGS; ++i) {
        lines += "command Record\nwait 4000\n";
        if (i % EVERY == 0)
            lines += "dump " + path("mark-" + std::to_string(i) + ".txt") + "\nwait 20000\n";
    }
    lines += "command Exit\n";
    script(lines);
    // The program's sanitizer holds back 16 MB of freed blocks, as this test's.
    set("ASAN_OPTIONS", "quarantine_size_mb=16");
    auto started = std::chrono::steady_clock::now();
    Run program = start(oscar);
    ::unsetenv("ASAN_OPTIONS");
    std::vector<Usage> samples;
    for (int i = 0; i <= RECORDINGS; i += EVERY) {
        std::string mark = "mark-" + std::to_string(i) + ".txt";
        ASSERT_TRUE(wait_for_file(mark)) << mark;
        ::kill(program.pid, SIGSTOP);
        samples.push_back(usage_of(std::to_string(program.pid)));
        ::kill(program.pid, SIGCONT);
    }
    Result result = finish(program);
    double seconds
        = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("%d recordings in %.1f s\n", RECORDINGS, seconds);
    EXPECT_EQ(result.status, 0) << result.err;
    // Recorded again and again under one name, with nothing left beside it.
    std::set<std::string> files;
    for (const auto& entry : fs::directory_iterator(path("commands")))
        files.insert(entry.path().filename().string());
    EXPECT_EQ(files,
        (std::set<std::string> { "commands.xml", "001.tag", "001.wav", "002.tag", "002.wav" }));
    // The speaker played each new tag once it was recorded.
    EXPECT_GT(speaker_bytes(), static_cast<std::size_t>(RECORDINGS) * 22050);
    expect_flat(samples, 2, 8192, 2, "recordings (form shown, then every 25th)");
    EXPECT_TRUE(lock_files(temp.native()).empty());
}

TEST_F(LongRuns, RecognitionsOfTheProgramLeaveNoLockAndAKilledOneBlocksNoStart)
{
    constexpr int RUNS = 40;
    auto started = std::chrono::steady_clock::now();
    for (int run = 1; run <= RUNS; ++run) {
        Result result = this->run();
        ASSERT_EQ(result.status, 0) << result.err;
        ASSERT_TRUE(lock_files(temp.native()).empty()) << "after run " << run;
    }
    double seconds
        = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("%d program recognitions in %.1f s\n", RUNS, seconds);
    EXPECT_EQ(lines_of(calls()), static_cast<std::size_t>(RUNS));

    // Killed while it listens, or (its lock file left behind) while it
    // started: the next start is not blocked.
    for (int kill = 1; kill <= 5; ++kill) {
        script("wait-form FormRecognizing\ndump " + path("listening.txt") + "\nwait 600000\n");
        fs::remove(path("listening.txt"));
        Run killed = start("", "killed");
        ASSERT_TRUE(wait_for_file("listening.txt"));
        ::kill(killed.pid, SIGKILL);
        ::waitpid(killed.pid, nullptr, 0);
        temp.write("SkinnerClass_Ringwise.lock", "");
        ::unsetenv("RINGWISE_SCRIPT");
        Result next = this->run();
        EXPECT_EQ(next.status, 0) << next.err;
        EXPECT_TRUE(lock_files(temp.native()).empty());
    }
    EXPECT_EQ(lines_of(calls()), static_cast<std::size_t>(RUNS + 5));
}

} // namespace
