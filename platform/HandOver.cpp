#include "platform/HandOver.h"

#include "platform/Convert.h"
#include "platform/HandOverMessage.h"
#include "platform/InstanceLock.h"
#include "platform/Message.h"
#include "platform/MessageQueue.h"
#include "platform/Tick.h"
#include "platform/Window.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

namespace platform {

namespace {

// The longest class name a window walk compares, as the class-name buffer
// of 39 code units allows.
constexpr std::size_t CLASS_NAME_LIMIT = 38;
// Bounds on how long a peer may take to send a hand-over; the answer may
// take as long as the first process needs.
constexpr int SEND_TIMEOUT_MS = 2000;
constexpr int ANSWER_TIMEOUT_MS = 60000;

constexpr std::uint8_t ANSWER_DELIVERED = 1;
constexpr std::uint8_t ANSWER_NO_WINDOW = 0;

// The folder whose lock file guards the class (see InstanceLock): processes
// that share the lock share the socket, so a test's program folder with a
// runtime folder of its own meets no other process.
std::string scope_of(const std::u16string& class_name)
{
    std::string lock = InstanceLock::path_of(class_name);
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : lock) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

socklen_t socket_address(const std::u16string& class_name, sockaddr_un& address)
{
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    std::string name = "ringwise." + to_utf8(class_name) + "." + std::to_string(::getuid()) + "."
        + scope_of(class_name);
    name.resize(std::min(name.size(), sizeof address.sun_path - 1));
    // A leading zero byte puts the name in the abstract namespace.
    std::memcpy(address.sun_path + 1, name.data(), name.size());
    return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
}

bool wait_for(int fd, short events, int timeout_ms)
{
    pollfd entry { fd, events, 0 };
    int result;
    do
        result = ::poll(&entry, 1, timeout_ms);
    while (result < 0 && errno == EINTR);
    return result > 0 && (entry.revents & events);
}

bool write_all(int fd, const void* data, std::size_t size)
{
    auto* bytes = static_cast<const std::uint8_t*>(data);
    while (size > 0) {
        ssize_t written = ::send(fd, bytes, size, MSG_NOSIGNAL);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

bool read_all(int fd, void* data, std::size_t size, int timeout_ms)
{
    auto* bytes = static_cast<std::uint8_t*>(data);
    while (size > 0) {
        if (!wait_for(fd, POLLIN, timeout_ms))
            return false;
        ssize_t got = ::recv(fd, bytes, size, 0);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        bytes += got;
        size -= static_cast<std::size_t>(got);
    }
    return true;
}

WindowHandle find_class_window(const std::u16string& class_name)
{
    for (WindowHandle window : top_level_windows()) {
        std::u16string name = window_class_name(window).substr(0, CLASS_NAME_LIMIT);
        if (name == class_name && !window_parent(window))
            return window;
    }
    return {};
}

} // namespace

bool hand_over(const std::u16string& class_name, const std::u16string& text)
{
    int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    sockaddr_un address;
    socklen_t length = socket_address(class_name, address);
    bool found = false;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), length) == 0) {
        auto bytes = static_cast<std::uint32_t>(text.size() * 2);
        std::uint8_t answer = ANSWER_NO_WINDOW;
        if (write_all(fd, &bytes, sizeof bytes) && write_all(fd, text.data(), bytes)
            && read_all(fd, &answer, 1, ANSWER_TIMEOUT_MS))
            found = answer == ANSWER_DELIVERED;
    }
    ::close(fd);
    return found;
}

HandOverListener::HandOverListener(std::u16string class_name)
    : class_name_(std::move(class_name))
{
    int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return;
    sockaddr_un address;
    socklen_t length = socket_address(class_name_, address);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), length) != 0 || ::listen(fd, 8) != 0
        || ::pipe2(wake_, O_CLOEXEC) != 0) {
        ::close(fd);
        return;
    }
    socket_ = fd;
    // The user-interface thread must have a queue for the windows' answers.
    ensure_message_queue();
    thread_ = std::thread([this] { run(); });
}

HandOverListener::~HandOverListener()
{
    if (thread_.joinable()) {
        char stop = 0;
        [[maybe_unused]] ssize_t ignored = ::write(wake_[1], &stop, 1);
        // A hand-over being delivered waits for this thread to handle its
        // message; peeking handles it, so the listener can finish.
        Message message;
        while (!finished_.load()) {
            peek_message(message, {}, Peek::Keep);
            sleep(1);
        }
        thread_.join();
    }
    for (int fd : { socket_, wake_[0], wake_[1] }) {
        if (fd >= 0)
            ::close(fd);
    }
}

void HandOverListener::run()
{
    for (;;) {
        pollfd entries[2] { { socket_, POLLIN, 0 }, { wake_[0], POLLIN, 0 } };
        int result = ::poll(entries, 2, -1);
        if (result < 0 && errno == EINTR)
            continue;
        if (result < 0 || (entries[1].revents & POLLIN))
            break;
        if (!(entries[0].revents & POLLIN))
            continue;
        int connection = ::accept4(socket_, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0)
            continue;
        serve(connection);
        ::close(connection);
    }
    finished_.store(true);
}

void HandOverListener::serve(int connection)
{
    // The message is read in pieces of at most what it still needs, so a
    // peer that lies about its length or sends more holds nothing extra.
    HandOverReader reader;
    std::uint8_t piece[4096];
    while (reader.state() == HandOverReader::State::Reading) {
        std::size_t size = std::min(reader.wanted(), sizeof piece);
        if (!read_all(connection, piece, size, SEND_TIMEOUT_MS))
            return;
        reader.feed(piece, size);
    }
    if (reader.state() != HandOverReader::State::Done)
        return;
    const std::u16string& text = reader.text();
    auto bytes = static_cast<std::uint32_t>(text.size() * 2);
    std::uint8_t answer = ANSWER_NO_WINDOW;
    if (WindowHandle window = find_class_window(class_name_)) {
        CopyData copy { 0, bytes, text.data() };
        send_message(window, WM_COPYDATA, 0, reinterpret_cast<Lparam>(&copy));
        answer = ANSWER_DELIVERED;
    }
    write_all(connection, &answer, 1);
}

} // namespace platform
