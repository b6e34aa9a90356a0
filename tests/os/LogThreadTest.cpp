#include "os/Log.h"

#include "LogFixture.h"
#include "tests/support/Watchdog.h"

#include <algorithm>
#include <atomic>
#include <sstream>
#include <thread>

namespace {

std::u16string line_of(int thread, int index)
{
    return platform::from_utf8(
        "thread " + std::to_string(thread) + " line " + std::to_string(index) + "\n");
}

} // namespace

using LogThreads = LogFixture;

TEST_F(LogThreads, SwitchingWhileOtherThreadsWriteLosesNoLineHalfWay)
{
    test_support::Watchdog watchdog(std::chrono::seconds(120));
    constexpr int THREADS = 4;
    constexpr int LINES = 300;
    constexpr int MOST_LINES = 100000;
    std::atomic<bool> stop { false };
    std::atomic<int> written { 0 };
    std::vector<std::thread> writers;
    for (int t = 0; t < THREADS; ++t) {
        writers.emplace_back([t, &stop, &written] {
            for (int i = 0; !stop && i < MOST_LINES; ++i) {
                os::log() << line_of(t, i % LINES);
                written.fetch_add(1);
            }
        });
    }
    // Each switch-over meets lines on their way: wait until more have been
    // written, or all of them (the watchdog bounds the wait).
    auto wait_for_lines = [&written](int count) {
        int target = std::min(written.load() + count, THREADS * MOST_LINES);
        while (written.load() < target)
            std::this_thread::yield();
    };
    for (int toggle = 0; toggle < 12; ++toggle) {
        set_log_switch(toggle % 2 == 0 ? 1 : 0);
        wait_for_lines(THREADS * 20);
    }
    set_log_switch(1);
    wait_for_lines(THREADS * 50);
    stop = true;
    for (auto& writer : writers)
        writer.join();

    // The last file holds whole lines only, each one as some thread wrote it.
    std::string bytes = log_bytes();
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    std::string text;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
        text.push_back(bytes[i]);
    std::istringstream lines(text);
    std::string line;
    int count = 0;
    while (std::getline(lines, line)) {
        int thread = -1;
        int index = -1;
        ASSERT_EQ(std::sscanf(line.c_str(), "thread %d line %d", &thread, &index), 2) << line;
        ASSERT_EQ(platform::to_utf8(line_of(thread, index)), line + "\n");
        ++count;
    }
    EXPECT_GT(count, 0);
    EXPECT_EQ(text.back(), '\n');
}
