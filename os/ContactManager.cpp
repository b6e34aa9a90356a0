#include "os/ContactManager.h"

#include "os/PimConnection.h"
#include "platform/contacts/ContactStore.h"
#include "platform/phone/PhoneLibrary.h"

namespace os {

void ContactManagerImpl::load_all(std::vector<ContactRecord>& list)
{
    list.clear();
    PimConnection connection(shared);
    if (!connection.store())
        return;
    const platform::ContactStore& store = *connection.store();
    int count = store.count();
    list.reserve(static_cast<std::size_t>(count) + 1);
    // The collection counts from 1: item 0 is asked for like any other and
    // is not there.
    for (int index = 0; index <= count; ++index) {
        if (const ContactRecord* item = store.item(index); item && item->oid != 0)
            list.push_back(*item);
    }
}

bool ContactManagerImpl::make_call(const std::u16string& number)
{
    platform::PhoneMakeCallInfo request {};
    request.size = sizeof request;
    request.flags = platform::PHONE_MAKE_CALL_DEFAULT;
    request.destination = number.c_str();
    platform::PhoneLibrary library;
    if (!library.make_call())
        return false;
    return library.make_call()(&request) == 0;
}

ContactManager::ContactManager()
    : InplaceImpl(this)
{
}

void ContactManager::load_all(std::vector<ContactRecord>& list)
{
    impl().load_all(list);
}

bool ContactManager::make_call(const std::u16string& number)
{
    return impl().make_call(number);
}

} // namespace os
