// A small program for the address book service's tests, run on the test's
// private session bus so that the service's connections end with it:
//   eds_contacts_runner add FILE...  adds each file's card to the service's
//                                    built-in address book (exit 0 when all were)
//   eds_contacts_runner list         prints every contact the manager loads,
//                                    one a line: oid|first|last|company|mobile|business|home

#include "os/ContactManager.h"
#include "platform/Convert.h"
#include "platform/contacts/EdsLibrary.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// Kept for the rest of the process, as the contacts store keeps its own.
void* registry = nullptr;

// GLib's error record.
struct Error {
    std::uint32_t domain;
    int code;
    char* message;
};

void report(const char* what, void* error)
{
    const char* message = error ? static_cast<Error*>(error)->message : nullptr;
    std::fprintf(stderr, "%s: %s\n", what, message ? message : "failed");
}

int add(const std::vector<std::string>& files)
{
    const platform::EdsLibrary* library = platform::EdsLibrary::get();
    if (!library)
        return 2;
    auto builtin_address_book = reinterpret_cast<void* (*)(void*)>(
        library->symbol("e_source_registry_ref_builtin_address_book"));
    auto contact_from_vcard
        = reinterpret_cast<void* (*)(const char*)>(library->symbol("e_contact_new_from_vcard"));
    auto add_contact
        = reinterpret_cast<int (*)(void*, void*, std::uint32_t, char**, void*, void**)>(
            library->symbol("e_book_client_add_contact_sync"));
    if (!builtin_address_book || !contact_from_vcard || !add_contact)
        return 2;

    void* error = nullptr;
    registry = library->source_registry_new_sync(nullptr, &error);
    if (!registry) {
        report("no source registry", error);
        return 3;
    }
    void* source = builtin_address_book(registry);
    void* client = library->book_client_connect_sync(source, 0xFFFFFFFFu, nullptr, &error);
    library->object_unref(source);
    if (!client) {
        report("the built-in address book cannot be opened", error);
        return 4;
    }
    int status = 0;
    for (const std::string& file : files) {
        std::ifstream in(file, std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(in)), {});
        void* contact = contact_from_vcard(text.c_str());
        if (!add_contact(client, contact, 0, nullptr, nullptr, &error)) {
            report("the address book refused a contact", error);
            library->error_free(error);
            error = nullptr;
            status = 5;
        }
        library->object_unref(contact);
    }
    library->object_unref(client);
    return status;
}

int list()
{
    os::ContactManager manager;
    std::vector<os::ContactRecord> records;
    manager.load_all(records);
    for (const os::ContactRecord& record : records) {
        std::printf("%d|%s|%s|%s|%s|%s|%s\n", record.oid,
            platform::to_utf8(record.first_name).c_str(),
            platform::to_utf8(record.last_name).c_str(), platform::to_utf8(record.company).c_str(),
            platform::to_utf8(record.mobile_phone).c_str(),
            platform::to_utf8(record.business_phone).c_str(),
            platform::to_utf8(record.home_phone).c_str());
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 2 && std::strcmp(argv[1], "add") == 0)
        return add(std::vector<std::string>(argv + 2, argv + argc));
    if (argc == 2 && std::strcmp(argv[1], "list") == 0)
        return list();
    std::fprintf(stderr, "usage: eds_contacts_runner add FILE... | list\n");
    return 1;
}
