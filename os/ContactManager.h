#pragma once

#include "liba/InplaceImpl.h"
#include "liba/Nocopy.h"
#include "os/ContactRecord.h"

#include <memory>
#include <string>
#include <vector>

namespace platform {
class ContactStore;
}

namespace os {

class ContactManager;

struct ContactManagerImpl {
    explicit ContactManagerImpl(ContactManager* owner)
        : owner(owner)
    {
    }

    void load_all(std::vector<ContactRecord>& list);
    bool make_call(const std::u16string& number);

    ContactManager* owner;
    // A store connection shared by every operation; empty in this program,
    // so that each operation opens (and closes) a connection of its own.
    std::shared_ptr<platform::ContactStore> shared;
};

// The contacts store and the phone, as the rest of the program sees them.
// Owned by the document; used on the user-interface thread.
class ContactManager : private liba::InplaceImpl<ContactManagerImpl, 32>, liba::Nocopy {
public:
    ContactManager();

    // Every contact of the store, in the store's order; contacts without an
    // id are left out. The list is emptied first.
    void load_all(std::vector<ContactRecord>& list);

    // Places a call through the phone library, loaded for this call only.
    // False when there is no library, no call function, or the call fails.
    bool make_call(const std::u16string& number);
};

} // namespace os
