#pragma once

#include "liba/Nocopy.h"

#include <memory>

namespace platform {
class ContactStore;
}

namespace os {

// One connection to the contacts store, for the length of one operation.
// Given a shared store it only borrows it; otherwise it opens the store
// itself, logging "outlook->Logon()" and, when it closes, "outlook->Logoff()".
class PimConnection : liba::Nocopy {
public:
    explicit PimConnection(const std::shared_ptr<platform::ContactStore>& shared);
    ~PimConnection();

    // Null when the store could not be opened.
    platform::ContactStore* store() const { return store_.get(); }

private:
    std::shared_ptr<platform::ContactStore> store_;
    bool logged_on_ { false };
};

} // namespace os
