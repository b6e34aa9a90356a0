#include "platform/Shell.h"

#include <cerrno>
#include <csignal>
#include <spawn.h>
#include <strings.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace platform {

namespace {

bool ends_with_ignoring_case(const std::string& text, const char* suffix)
{
    std::size_t length = std::char_traits<char>::length(suffix);
    return text.size() >= length && ::strcasecmp(text.c_str() + text.size() - length, suffix) == 0;
}

std::string file_name_of(const std::string& path)
{
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool exists(const std::string& path)
{
    struct stat status;
    return ::stat(path.c_str(), &status) == 0;
}

bool is_program(const std::string& path)
{
    struct stat status;
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode)
        && ::access(path.c_str(), X_OK) == 0;
}

// "scheme:..." with a scheme of at least two letters ("C:" is no scheme).
bool is_web_address(const std::string& text)
{
    std::size_t colon = text.find(':');
    if (colon == std::string::npos || colon < 2)
        return false;
    for (std::size_t i = 0; i < colon; ++i) {
        char c = text[i];
        bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        bool other = i > 0 && ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.');
        if (!letter && !other)
            return false;
    }
    return true;
}

// Starts a process that nobody waits for: it gets a session of its own and
// default signal handling, and a detached thread collects its exit status
// so that it leaves no zombie behind.
bool spawn(const std::string& program, const std::vector<std::string>& arguments, bool search_path)
{
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (auto& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    posix_spawnattr_t attributes;
    if (posix_spawnattr_init(&attributes) != 0)
        return false;
    sigset_t no_signals;
    sigset_t all_signals;
    sigemptyset(&no_signals);
    sigfillset(&all_signals);
    posix_spawnattr_setsigmask(&attributes, &no_signals);
    posix_spawnattr_setsigdefault(&attributes, &all_signals);
    posix_spawnattr_setflags(
        &attributes, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    pid_t pid = 0;
    int result = search_path
        ? posix_spawnp(&pid, program.c_str(), nullptr, &attributes, argv.data(), environ)
        : posix_spawn(&pid, program.c_str(), nullptr, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    if (result != 0)
        return false;
    try {
        std::thread([pid] {
            while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) { }
        }).detach();
    } catch (const std::system_error&) {
        // No thread to spare: the child is started all the same and stays a
        // zombie until this process ends.
    }
    return true;
}

bool open_with_desktop(const std::string& target)
{
    if (target.empty())
        return false;
    // A file name that starts with '-' must not read as an option.
    return spawn("xdg-open", { target.front() == '-' ? "./" + target : target }, true);
}

} // namespace

std::string program_file(const std::string& path)
{
    if (ends_with_ignoring_case(path, ".exe") && !exists(path))
        return path.substr(0, path.size() - 4);
    return path;
}

bool open_in_browser(const std::string& url)
{
    // "www.example.com" is meant as a web address, not as a file.
    if (!url.empty() && !is_web_address(url) && url.front() != '/')
        return open_with_desktop("http://" + url);
    return open_with_desktop(url);
}

bool shell_execute(const std::string& file, const std::string& parameters)
{
    if (file.empty())
        return false;
    if (::strcasecmp(file_name_of(file).c_str(), "iexplore.exe") == 0 && !exists(file))
        return open_in_browser(parameters);
    std::string program = program_file(file);
    std::vector<std::string> arguments;
    if (!parameters.empty())
        arguments.push_back(parameters);
    if (is_program(program))
        return spawn(program, arguments, false);
    if (exists(file) || is_web_address(file))
        return open_with_desktop(file);
    if (program.find('/') == std::string::npos)
        return spawn(program, arguments, true);
    return false;
}

} // namespace platform
