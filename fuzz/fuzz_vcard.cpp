// Feeds arbitrary bytes to the vCard reader and maps every card it accepts
// to a contact, as the contacts store does.
#include "platform/contacts/ContactStore.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const platform::VCard& card : platform::parse_vcards(text)) {
        platform::Contact contact = platform::contact_from_vcard(card);
        if (contact.oid <= 0)
            __builtin_trap();
    }
    return 0;
}
