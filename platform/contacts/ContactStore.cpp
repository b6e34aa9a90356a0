#include "platform/contacts/ContactStore.h"

#include "platform/Convert.h"
#include "platform/UserDirectories.h"
#include "platform/contacts/EdsAddressBooks.h"

#include <algorithm>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

bool ends_with_ignoring_case(const std::string& text, std::string_view suffix)
{
    if (text.size() < suffix.size())
        return false;
    for (std::size_t i = 0; i < suffix.size(); ++i) {
        char c = text[text.size() - suffix.size() + i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != suffix[i])
            return false;
    }
    return true;
}

// The whole file, or nothing when it cannot be read or is far too large.
std::string read_file(const std::string& path)
{
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return {};
    std::string bytes;
    struct stat status;
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode)
        && static_cast<std::size_t>(status.st_size) <= MAX_CONTACTS_FILE_BYTES) {
        char buffer[65536];
        ssize_t n;
        while (
            (n = ::read(fd, buffer, sizeof buffer)) > 0 && bytes.size() <= MAX_CONTACTS_FILE_BYTES)
            bytes.append(buffer, static_cast<std::size_t>(n));
        if (bytes.size() > MAX_CONTACTS_FILE_BYTES)
            bytes.clear();
    }
    ::close(fd);
    return bytes;
}

// The card files of a folder, in name order; with `subfolders` also those of
// its first-level subfolders, each folder's after the files before it.
std::vector<std::string> folder_card_files(const std::string& location, bool subfolders)
{
    std::vector<std::string> entries;
    DIR* directory = ::opendir(location.c_str());
    if (!directory)
        return {};
    while (dirent* entry = ::readdir(directory)) {
        std::string name = entry->d_name;
        if (!name.empty() && name[0] != '.')
            entries.push_back(name);
    }
    ::closedir(directory);
    std::sort(entries.begin(), entries.end());
    std::vector<std::string> files;
    for (const std::string& name : entries) {
        std::string path = location + "/" + name;
        struct stat status;
        if (::stat(path.c_str(), &status) != 0)
            continue;
        if (S_ISDIR(status.st_mode)) {
            if (subfolders) {
                for (std::string& file : folder_card_files(path, false))
                    files.push_back(std::move(file));
            }
        } else if (ends_with_ignoring_case(name, ".vcf")
            || ends_with_ignoring_case(name, ".vcard")) {
            files.push_back(path);
        }
    }
    return files;
}

std::vector<std::string> card_files(const std::string& location, bool subfolders)
{
    struct stat status;
    if (::stat(location.c_str(), &status) != 0)
        return {};
    if (!S_ISDIR(status.st_mode))
        return { location };
    return folder_card_files(location, subfolders);
}

bool exists(const std::string& path)
{
    struct stat status;
    return ::stat(path.c_str(), &status) == 0;
}

bool is_mobile_type(const std::string& type)
{
    return type == "cell" || type == "mobile" || type == "iphone";
}

bool has_location_type(const VCardTelephone& telephone)
{
    for (const std::string& type : telephone.types) {
        if (is_mobile_type(type) || type == "work" || type == "home")
            return true;
    }
    return false;
}

std::string component(const std::vector<std::string>& components, std::size_t index)
{
    return index < components.size() ? components[index] : std::string();
}

std::uint32_t fnv1a(std::string_view text, std::uint32_t hash = 2166136261u)
{
    for (char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619u;
    }
    return hash;
}

} // namespace

ContactStore::ContactStore()
    : ContactStore(open_default())
{
}

ContactStore::ContactStore(std::string location)
    : ContactStore(ContactSource { std::move(location), false })
{
}

ContactStore::ContactStore(ContactSource source)
    : location_(std::move(source.location))
    , subfolders_(source.subfolders)
    , contacts_(read_all())
{
}

ContactStore::ContactStore(std::string location, std::vector<Contact> contacts)
    : location_(std::move(location))
    , contacts_(std::move(contacts))
{
}

ContactStore ContactStore::from_cards(const std::vector<std::string>& cards)
{
    std::vector<Contact> contacts;
    for (const std::string& text : cards) {
        for (const VCard& card : parse_vcards(text))
            contacts.push_back(contact_from_vcard(card));
    }
    return ContactStore(EDS_LOCATION, std::move(contacts));
}

const Contact* ContactStore::item(int index) const
{
    if (index < 1 || index > count())
        return nullptr;
    return &contacts_[static_cast<std::size_t>(index - 1)];
}

ContactStore ContactStore::open_default()
{
    if (const char* store = std::getenv("RINGWISE_CONTACTS"); !store || !*store) {
        if (std::vector<std::string> cards = read_eds_vcards(); !cards.empty())
            return from_cards(cards);
    }
    return ContactStore(default_source());
}

ContactSource ContactStore::default_source()
{
    if (const char* store = std::getenv("RINGWISE_CONTACTS"); store && *store)
        return { store, false };
    std::string data = xdg_directory("XDG_DATA_HOME", ".local/share");
    // The address book of Plasma Mobile's contacts, where there is one.
    if (std::string plasma = data + "/kpeoplevcard"; !data.empty() && exists(plasma))
        return { plasma, true };
    return { data + "/ringwise/contacts", false };
}

std::string ContactStore::default_location()
{
    return default_source().location;
}

std::vector<Contact> ContactStore::read_all() const
{
    std::vector<Contact> contacts;
    for (const std::string& file : card_files(location_, subfolders_)) {
        for (const VCard& card : parse_vcards(read_file(file)))
            contacts.push_back(contact_from_vcard(card));
    }
    return contacts;
}

Contact contact_from_vcard(const VCard& card)
{
    Contact contact;
    contact.oid = contact_oid(card);
    contact.last_name = platform::from_utf8(component(card.name, 0));
    contact.first_name = platform::from_utf8(component(card.name, 1));
    contact.company = platform::from_utf8(component(card.organization, 0));
    std::u16string formatted = platform::from_utf8(card.formatted_name);
    if (contact.first_name.empty() && contact.last_name.empty() && formatted != contact.company)
        contact.first_name = formatted;

    auto fill = [](std::u16string& slot, const std::string& number) {
        if (!slot.empty())
            return false;
        slot = platform::from_utf8(number);
        return true;
    };
    for (const VCardTelephone& telephone : card.telephones) {
        if (telephone.has_type("fax") || telephone.has_type("pager"))
            continue;
        bool mobile = std::any_of(telephone.types.begin(), telephone.types.end(), is_mobile_type);
        if (mobile && fill(contact.mobile_phone, telephone.number))
            continue;
        if (telephone.has_type("work") && fill(contact.business_phone, telephone.number))
            continue;
        if (telephone.has_type("home"))
            fill(contact.home_phone, telephone.number);
    }
    // Numbers without a type only after the typed ones, so that a later
    // "cell" number keeps its place.
    for (const VCardTelephone& telephone : card.telephones) {
        if (telephone.has_type("fax") || telephone.has_type("pager")
            || has_location_type(telephone))
            continue;
        fill(contact.mobile_phone, telephone.number);
    }
    return contact;
}

std::int32_t contact_oid(const VCard& card)
{
    std::uint32_t hash;
    if (!card.uid.empty()) {
        hash = fnv1a(card.uid);
    } else {
        hash = fnv1a(card.formatted_name);
        for (const std::string& part : card.name)
            hash = fnv1a(part, fnv1a(";", hash));
        for (const std::string& part : card.organization)
            hash = fnv1a(part, fnv1a(";", hash));
        for (const VCardTelephone& telephone : card.telephones)
            hash = fnv1a(telephone.number, fnv1a(":", hash));
    }
    hash &= 0x7FFFFFFFu;
    return hash == 0 ? 1 : static_cast<std::int32_t>(hash);
}

} // namespace platform
