#include "os/ContactManager.h"

#include "os/PimConnection.h"
#include "platform/contacts/ContactStore.h"
#include "platform/phone/PhoneLibrary.h"

namespace os {

namespace {

bool read_item(const platform::Contact& item, ContactRecord& record)
{
    if (item.oid == 0)
        return false;
    record.oid = item.oid;
    record.first_name = item.first_name;
    record.last_name = item.last_name;
    record.company = item.company;
    record.mobile_phone = item.mobile_phone;
    record.business_phone = item.business_phone;
    record.home_phone = item.home_phone;
    return true;
}

} // namespace

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
        const platform::Contact* item = store.item(index);
        if (!item)
            continue;
        list.emplace_back();
        if (!read_item(*item, list.back()))
            list.pop_back();
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
