#include "platform/phone/PhoneCallers.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace platform {

namespace {

// How long the hand-off may take; the dialer itself runs on.
constexpr std::chrono::seconds HAND_OFF_LIMIT { 10 };

bool is_tel_character(unsigned char c)
{
    if ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))
        return true;
    switch (c) {
    case '+':
    case '-':
    case '.':
    case '(':
    case ')':
    case ';':
    case '=':
    case '*':
    case '#':
    case '/':
    case ',':
        return true;
    default:
        return false;
    }
}

// Runs a program from PATH with its arguments, no shell in between, and
// gives its exit status (-1 when it could not start, was killed or took too
// long). With `output` its standard output is collected there.
int run(const char* const* arguments, std::string* output)
{
    int pipe_ends[2] = { -1, -1 };
    if (output && ::pipe(pipe_ends) != 0)
        return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (output) {
        posix_spawn_file_actions_adddup2(&actions, pipe_ends[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, pipe_ends[0]);
        posix_spawn_file_actions_addclose(&actions, pipe_ends[1]);
    }
    pid_t child = 0;
    int spawned = posix_spawnp(
        &child, arguments[0], &actions, nullptr, const_cast<char* const*>(arguments), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (output) {
        ::close(pipe_ends[1]);
        if (spawned == 0) {
            char buffer[512];
            ssize_t n;
            while ((n = ::read(pipe_ends[0], buffer, sizeof buffer)) > 0 && output->size() < 4096)
                output->append(buffer, static_cast<std::size_t>(n));
        }
        ::close(pipe_ends[0]);
    }
    if (spawned != 0)
        return -1;
    auto deadline = std::chrono::steady_clock::now() + HAND_OFF_LIMIT;
    int status = 0;
    for (;;) {
        pid_t done = ::waitpid(child, &status, WNOHANG);
        if (done == child)
            break;
        if (done < 0 && errno != EINTR)
            return -1;
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

std::string tel_uri(const std::string& number)
{
    static const char* const HEX = "0123456789ABCDEF";
    std::string uri = "tel:";
    for (unsigned char c : number) {
        if (is_tel_character(c)) {
            uri += static_cast<char>(c);
        } else {
            uri += '%';
            uri += HEX[c >> 4];
            uri += HEX[c & 15];
        }
    }
    return uri;
}

int call_through_tel_handler(const std::string& number)
{
    std::string handler;
    const char* query[] = { "xdg-mime", "query", "default", "x-scheme-handler/tel", nullptr };
    if (run(query, &handler) != 0 || handler.find_first_not_of(" \t\r\n") == std::string::npos)
        return 1;
    std::string uri = tel_uri(number);
    const char* open[] = { "xdg-open", uri.c_str(), nullptr };
    return run(open, nullptr) == 0 ? 0 : 2;
}

} // namespace platform
