#pragma once

#include "platform/contacts/Contact.h"
#include "platform/contacts/VCard.h"

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// Where contacts are read: a vCard file or a folder, and whether the
// folder's first-level subfolders count too.
struct ContactSource {
    std::string location;
    bool subfolders { false };
};

// The contacts store: a vCard file, or a directory whose ".vcf" and ".vcard"
// files are read in the order of their names, or the address books of
// Evolution Data Server. The first that exists of: RINGWISE_CONTACTS; the
// address books of Evolution Data Server (GNOME, Phosh), when they hold a
// contact; Plasma Mobile's address book $XDG_DATA_HOME/kpeoplevcard (with
// its first-level subfolders); $XDG_DATA_HOME/ringwise/contacts. A missing
// store is an empty one. An address book service without contacts counts as
// absent, so that a desktop that merely has it installed still reads the
// folders.
//
// Like the device's store it is read as a counted collection of items that
// counts from 1; its content is read when the store is opened and does not
// follow later changes to the files.
class ContactStore {
public:
    ContactStore();
    explicit ContactStore(std::string location);
    explicit ContactStore(ContactSource source);
    // The cards of the address book service, each the text of one card.
    static ContactStore from_cards(const std::vector<std::string>& cards);

    const std::string& location() const { return location_; }

    int count() const { return static_cast<int>(contacts_.size()); }
    // Item 1 through count(); nothing for any other index.
    const Contact* item(int index) const;

    // The files read when RINGWISE_CONTACTS is set or the address book
    // service has no contacts.
    static ContactSource default_source();
    static std::string default_location();

    // What location() says for the address books of Evolution Data Server.
    static constexpr const char* EDS_LOCATION = "eds:";

private:
    ContactStore(std::string location, std::vector<Contact> contacts);
    static ContactStore open_default();
    std::vector<Contact> read_all() const;

    std::string location_;
    bool subfolders_ { false };
    std::vector<Contact> contacts_;
};

// Files larger than this are not address books; they are skipped unread.
constexpr std::size_t MAX_CONTACTS_FILE_BYTES = 64 * 1024 * 1024;

// The store's view of one card: names from N (FN only when N has neither
// part and FN is not just the company), the company from ORG, and the first
// mobile ("cell"), business ("work") and home number; a number without one
// of these types is the mobile number when there is none yet. Fax and pager
// numbers are not dialled.
Contact contact_from_vcard(const VCard& card);

// A stable, positive, non-zero 31-bit id: from the UID, or without one from
// the name and the numbers, so that stored tags keep finding their contact.
std::int32_t contact_oid(const VCard& card);

} // namespace platform
