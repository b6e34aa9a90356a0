#include "os/PimConnection.h"

#include "os/Log.h"
#include "platform/contacts/ContactStore.h"

namespace os {

PimConnection::PimConnection(const std::shared_ptr<platform::ContactStore>& shared)
{
    if (shared) {
        store_ = shared;
        return;
    }
    store_ = std::make_shared<platform::ContactStore>();
    log() << u"outlook->Logon()\n";
    logged_on_ = true;
}

PimConnection::~PimConnection()
{
    if (logged_on_)
        log() << u"outlook->Logoff()\n";
}

} // namespace os
