#include "platform/contacts/EdsAddressBooks.h"

#include "platform/contacts/EdsLibrary.h"
#include "platform/contacts/EdsRegistry.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <utility>

namespace platform {

namespace {

// Every card of a book: the query that matches any contact.
constexpr const char* ALL_CONTACTS = "(contains \"x-evolution-any-field\" \"\")";
// Opens a book without waiting for it to come on line: a remote book is
// then read from its cache, and a book on a phone without network (which
// never comes on line) opens at once instead of after the whole wait.
constexpr std::uint32_t OPEN_OFFLINE = 0xFFFFFFFFu;

// Cancels every call made with its cancellable once the time is up, so that
// a service that accepts the connection but never answers cannot hang the
// caller. The library's calls wait on their own threads and return as soon
// as they are cancelled.
class Deadline {
public:
    Deadline(const EdsLibrary& library, std::chrono::steady_clock::time_point end)
        : library_(library)
        , cancellable_(library.cancellable_new())
        , watcher_([this, end] {
            std::unique_lock lock(mutex_);
            if (!done_changed_.wait_until(lock, end, [this] { return done_; }))
                library_.cancellable_cancel(cancellable_);
        })
    {
    }
    ~Deadline()
    {
        {
            std::lock_guard lock(mutex_);
            done_ = true;
        }
        done_changed_.notify_one();
        watcher_.join();
        library_.object_unref(cancellable_);
    }
    Deadline(const Deadline&) = delete;
    Deadline& operator=(const Deadline&) = delete;

    void* cancellable() const { return cancellable_; }

private:
    const EdsLibrary& library_;
    void* cancellable_;
    std::mutex mutex_;
    std::condition_variable done_changed_;
    bool done_ { false };
    std::thread watcher_;
};

void read_book(
    const EdsLibrary& library, void* source, void* cancellable, std::vector<std::string>& cards)
{
    EdsError connect_error(library);
    EdsObject client(library,
        library.book_client_connect_sync(source, OPEN_OFFLINE, cancellable, connect_error.out()));
    if (!client.get())
        return;
    EdsLibrary::SList* contacts = nullptr;
    EdsError read_error(library);
    if (!library.book_client_get_contacts_sync(
            client.get(), ALL_CONTACTS, &contacts, cancellable, read_error.out()))
        return;
    for (EdsLibrary::SList* node = contacts; node; node = node->next) {
        // A contact is a card of the library's own; its text is the card.
        if (char* text = library.vcard_to_string(node->data, EDS_VCARD_30)) {
            cards.emplace_back(text);
            library.free(text);
        }
    }
    library.slist_free_full(contacts, library.object_unref);
}

} // namespace

std::vector<std::string> read_eds_vcards()
{
    const EdsLibrary* library = EdsLibrary::get();
    if (!library)
        return {};
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(EDS_WAIT_SECONDS);
    void* registry = EdsRegistry::get(*library, end);
    if (!registry)
        return {};

    EdsLibrary::List* sources
        = library->source_registry_list_enabled(registry, EDS_ADDRESS_BOOK_EXTENSION);
    std::vector<std::pair<std::string, void*>> books;
    for (EdsLibrary::List* node = sources; node; node = node->next) {
        const char* uid = library->source_get_uid(node->data);
        books.emplace_back(uid ? uid : "", node->data);
    }
    std::sort(
        books.begin(), books.end(), [](const auto& a, const auto& b) { return a.first < b.first; });

    std::vector<std::string> cards;
    Deadline deadline(*library, end);
    for (const auto& book : books)
        read_book(*library, book.second, deadline.cancellable(), cards);
    library->list_free_full(sources, library->object_unref);
    return cards;
}

} // namespace platform
